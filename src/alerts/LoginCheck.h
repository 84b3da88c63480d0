#pragma once

#include <QString>

// The login check: an XDG autostart entry that runs "orvel2 --check-due" when the
// user logs in (~/.config/autostart/com.kestrum.Orvel2.CheckDue.desktop, under
// $XDG_CONFIG_HOME when set).
namespace LoginCheck {

QString entryPath();
bool isOn();

// The entry's text for the program at programPath, named in the current language.
QByteArray entryText(const QString &programPath);

// Writes the entry for programPath, or removes it. An empty text when done,
// otherwise what went wrong with the file.
QString setOn(bool on, const QString &programPath);

} // namespace LoginCheck
