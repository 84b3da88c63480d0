#include "startup/Provisioning.h"

#include "platform/Pauses.h"
#include "platform/Prompts.h"
#include "startup/ResourceText.h"
#include "startup/Setting.h"
#include "startup/mainmod.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

constexpr int FileAccessError = 75;   // "Path/File access error"

struct ProvisionError
{
    int number;
    QString description;
};

QString databasePath()
{
    return mainmod::DbFolder + QDir::separator() + QStringLiteral("orvel2.mdb");
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
    // The template ships read-only in system folders; the copy must be writable.
    QFile::setPermissions(to, QFile::permissions(to) | QFileDevice::WriteOwner | QFileDevice::ReadOwner);
}

} // namespace

bool ProvisionDatabase()
{
    QString lastChecked;
    auto exists = [&lastChecked](const QString &path) {
        lastChecked = path;
        return QFileInfo::exists(path);
    };

    try {
        SettingsStore settings = mainmod::Settings();
        if (settings.text(Setting::FirstRunMarker).isEmpty())
            settings.setText(Setting::FirstRunMarker, FirstRunMarkerText);
        if (exists(databasePath()))
            return true;

        // The older release ran only on Windows: a first run here has no older database to migrate.
        const QString templatePath = mainmod::ProgramFolder() + QDir::separator() + QStringLiteral("master.gen");
        if (exists(templatePath)) {
            copyDatabase(templatePath, databasePath());
            letEventsRun();
            PauseLong();
            return true;
        }
        return false;
    } catch (const ProvisionError &e) {
        Prompt::message(QStringLiteral("%1 - %2 - %3 - %4").arg(e.number).arg(e.description).arg(0).arg(lastChecked),
                        mainmod::AppTitle, Prompt::Icon::None, Prompt::Buttons::Ok);
    } catch (const SettingsStore::WriteError &e) {
        Prompt::message(QString::fromUtf8(e.what()) + QStringLiteral(" - ") + lastChecked, mainmod::AppTitle,
                        Prompt::Icon::None, Prompt::Buttons::Ok);
    }
    return false;
}

void frmForFolders::Apri()
{
    const QString folder = Prompt::chooseFolder(ResourceText(1401));
    if (folder.isEmpty())
        return;
    mainmod::Settings().setText(Setting::DatabaseFolder, folder);
    Prompt::message(ResourceText(1402), mainmod::AppTitle, Prompt::Icon::None, Prompt::Buttons::Ok);
}

void ChangeDatabase()
{
    const QString folder = Prompt::chooseFolder(ResourceText(506));
    if (folder.isEmpty())
        return;
    mainmod::Settings().setText(Setting::DatabaseFolder, folder);
    Prompt::message(ResourceText(1362), mainmod::AppTitle, Prompt::Icon::None, Prompt::Buttons::Ok);
}
