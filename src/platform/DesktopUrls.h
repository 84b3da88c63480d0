#pragma once

#include <QUrl>

#include <functional>

// Hands web pages, mail-to addresses and local files to the desktop. Tests put
// an opener of their own in place, so nothing leaves the machine.
namespace DesktopUrls {

using Opener = std::function<bool(const QUrl &)>;

// Whether the desktop took the address.
bool open(const QUrl &url);
// An empty opener puts the desktop's own back.
void setOpener(Opener opener);

} // namespace DesktopUrls
