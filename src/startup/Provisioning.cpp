#include "startup/Provisioning.h"

#include "platform/Pauses.h"
#include "startup/Session.h"
#include "startup/Setting.h"
#include "store/Database.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

QString databasePath(const Session &session)
{
    return session.databaseFolder() + QDir::separator() + Database::FileName;
}

void letEventsRun()
{
    if (QCoreApplication::instance())
        QCoreApplication::processEvents();
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
    return documents + QStringLiteral("Orvel2DB");
}

bool makeDatabaseFolder(const QString &folder)
{
    if (QFileInfo::exists(folder))
        return QFileInfo(folder).isDir();
    // A fresh account may not have its Documents folder yet: make both levels. The
    // database folder is the user's alone when the program makes it; one that
    // exists keeps the permissions its owner gave it.
    if (!QDir().mkpath(folder))
        return false;
    QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    return true;
}

Provisioning provisionDatabase(Session &session)
{
    Provisioning done;
    SettingsStore &settings = session.settings();
    if (settings.text(Setting::FirstRunMarker).isEmpty()) {
        try {
            settings.setText(Setting::FirstRunMarker, FirstRunMarkerText);
        } catch (const SettingsStore::WriteError &) {
            // It only keeps a migration from running twice, and there is none here.
        }
    }
    const QString target = databasePath(session);
    // A file that is there but cannot be opened is never replaced.
    if (QFileInfo::exists(target))
        return done;

    // The older release ran only on Windows: a first run here has no older database to migrate.
    done.templatePath = session.programFolder() + QDir::separator() + QStringLiteral("master.gen");
    if (!QFileInfo::exists(done.templatePath)) {
        done.result = Provisioning::Result::TemplateMissing;
        return done;
    }
    QFile source(done.templatePath);
    if (!source.copy(target)) {
        done.result = Provisioning::Result::CopyFailed;
        done.detail = source.errorString();
        return done;
    }
    // A register of debts and credits is nobody else's business: the new file is
    // the user's alone, whatever the umask or the template's own permissions.
    QFile::setPermissions(target, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    letEventsRun();
    Pauses::longPause();
    return done;
}
