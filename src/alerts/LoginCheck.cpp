#include "alerts/LoginCheck.h"

#include "startup/Texts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

constexpr int EntryNameText = 2947;      // "Orvel 2 deadline check"
constexpr int EntryCommentText = 2948;   // "Tells what falls due when you log in"

// An Exec argument as the desktop entry rules want it: quoted when it holds a
// reserved character, with the quoted string's own escapes and the file's.
QString execArgument(const QString &argument)
{
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    QString escaped;
    bool quote = argument.isEmpty();
    for (const QChar c : argument) {
        if (reserved.contains(c))
            quote = true;
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
            escaped += u'\\';
        escaped += c;
    }
    escaped.replace(QLatin1Char('%'), QStringLiteral("%%"));
    if (!quote)
        return escaped;
    // The entry file reads a backslash as the start of an escape of its own.
    escaped.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    return QLatin1Char('"') + escaped + QLatin1Char('"');
}

QString oneLine(QString text)
{
    return text.replace(QLatin1Char('\n'), QLatin1Char(' '));
}

} // namespace

QString LoginCheck::entryPath()
{
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    // The rules take only an absolute path; anything else means the default.
    if (config.isEmpty() || QDir::isRelativePath(config))
        config = QDir::homePath() + QStringLiteral("/.config");
    return config + QStringLiteral("/autostart/com.kestrum.Orvel2.CheckDue.desktop");
}

bool LoginCheck::isOn()
{
    return QFileInfo::exists(entryPath());
}

QByteArray LoginCheck::entryText(const QString &programPath)
{
    QString text = QStringLiteral("[Desktop Entry]\n"
                                  "Type=Application\n"
                                  "Name=%1\n"
                                  "Comment=%2\n"
                                  "Exec=%3 --check-due\n"
                                  "Icon=com.kestrum.Orvel2\n"
                                  "Terminal=false\n"
                                  "NoDisplay=true\n"
                                  "X-GNOME-Autostart-enabled=true\n")
                       .arg(oneLine(Texts::text(EntryNameText)), oneLine(Texts::text(EntryCommentText)),
                            execArgument(programPath));
    return text.toUtf8();
}

QString LoginCheck::setOn(bool on, const QString &programPath)
{
    const QString path = entryPath();
    if (!on) {
        QFile entry(path);
        if (entry.exists() && !entry.remove())
            return entry.errorString();
        return {};
    }
    // A folder that cannot be made fails the write below, which says why.
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile entry(path);
    if (!entry.open(QIODevice::WriteOnly) || entry.write(entryText(programPath)) < 0 || !entry.commit())
        return entry.errorString();
    return {};
}
