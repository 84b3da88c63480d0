#include "startup/Provisioning.h"

#include "platform/Pauses.h"
#include "platform/Prompts.h"
#include "startup/Session.h"
#include "startup/Setting.h"
#include "store/Database.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

constexpr int FileAccessError = 75;   // "Path/File access error"

struct ProvisionError
{
    int number;
    QString description;
};

QString databasePath(const Session &session)
{
    return session.databaseFolder() + QDir::separator() + Database::FileName;
}

void letEventsRun()
{
    if (QCoreApplication::instance())
        QCoreApplication::processEvents();
}

// Copies without ever replacing a file that is already there: a database that
// exists but cannot be opened stays as the user left it.
void copyDatabase(const QString &from, const QString &to)
{
    if (QFileInfo::exists(to))
        return;
    QFile source(from);
    if (!source.copy(to))
        throw ProvisionError{FileAccessError, source.errorString()};
    // A register of debts and credits is nobody else's business: the new file is
    // the user's alone, whatever the umask or the template's own permissions.
    QFile::setPermissions(to, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

} // namespace

QString defaultDatabaseFolder()
{
    QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (documents.isEmpty())
        return {};
    documents = QDir::toNativeSeparators(documents);
    if (!documents.endsWith(QDir::separator()))
        documents += QDir::separator();
    const QString folder = documents + QStringLiteral("Orvel2DB");
    // A fresh account may not have its Documents folder yet: make both levels. The
    // database folder is the user's alone when the program makes it; one that
    // exists keeps the permissions its owner gave it.
    if (!QFileInfo::exists(folder) && QDir().mkpath(folder))
        QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    return folder;
}

bool provisionDatabase(Session &session)
{
    QString lastChecked;
    auto exists = [&lastChecked](const QString &path) {
        lastChecked = path;
        return QFileInfo::exists(path);
    };

    try {
        SettingsStore &settings = session.settings();
        if (settings.text(Setting::FirstRunMarker).isEmpty())
            settings.setText(Setting::FirstRunMarker, FirstRunMarkerText);
        if (exists(databasePath(session)))
            return true;

        // The older release ran only on Windows: a first run here has no older database to migrate.
        const QString templatePath = session.programFolder() + QDir::separator() + QStringLiteral("master.gen");
        if (exists(templatePath)) {
            copyDatabase(templatePath, databasePath(session));
            letEventsRun();
            Pauses::longPause();
            return true;
        }
        return false;
    } catch (const ProvisionError &e) {
        Prompt::message(QStringLiteral("%1 - %2 - %3 - %4").arg(e.number).arg(e.description).arg(0).arg(lastChecked),
                        Session::AppTitle, Prompt::Icon::None, Prompt::Buttons::Ok);
    } catch (const SettingsStore::WriteError &e) {
        Prompt::message(QString::fromUtf8(e.what()) + QStringLiteral(" - ") + lastChecked, Session::AppTitle,
                        Prompt::Icon::None, Prompt::Buttons::Ok);
    }
    return false;
}
