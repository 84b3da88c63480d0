#include "platform/DesktopUrls.h"

#include <QDesktopServices>
#include <QCursor>
#include <QGuiApplication>

namespace DesktopUrls {

namespace {

Opener &installed()
{
    static Opener opener;
    return opener;
}

} // namespace

bool open(const QUrl &url)
{
    if (installed())
        return installed()(url);
    // Starting a browser can take a moment; the pointer says so.
    QGuiApplication::setOverrideCursor(QCursor(Qt::BusyCursor));
    const bool opened = QDesktopServices::openUrl(url);
    QGuiApplication::restoreOverrideCursor();
    return opened;
}

void setOpener(Opener opener)
{
    installed() = std::move(opener);
}

} // namespace DesktopUrls
