#include "startup/StartupSteps.h"

#include "platform/Prompts.h"
#include "startup/Provisioning.h"
#include "startup/ResourceText.h"
#include "startup/Setting.h"
#include "startup/mainmod.h"
#include "store/Schema.h"
#include "store/comDataBase.h"

#include <QDir>
#include <QLockFile>
#include <QStandardPaths>

using namespace mainmod;

SessionOutcome PrepareSession(const QString &localeLanguageCode)
{
    DefaultDbFolder = GetDefaultDbFolder();

    LanguageChoice = Settings().integer(Setting::LanguageChoice);
    LanguageBase = ChooseLanguageBase(LanguageChoice, localeLanguageCode);
    HelpFile = ProgramFolder() + QDir::separator() + HelpFileName(LanguageBase);

    DbFolder = Settings().text(Setting::DatabaseFolder, DefaultDbFolder);
    ConnectionString = BuildConnectionString(DbFolder);

    if (DatabaseUnavailable(ConnectionString)) {
        const bool provisioned = ProvisionDatabase();
        if (!provisioned || DatabaseUnavailable(ConnectionString)) {
            const QString text = ResourceText(provisioned ? 1357 : 1359) + QLatin1Char('\n') + ResourceText(1358);
            Prompt::message(text, AppTitle, Prompt::Icon::Critical, Prompt::Buttons::Ok);
            frmForFolders::Apri();
            return SessionOutcome::Ended;
        }
    }

    try {
        UpgradeSchemaGroupColumn();
        LoadActiveSheet();
        LoadActiveSheetName();
        EnableZeroLengthText();
    } catch (const DbError &error) {
        // A file that opens but cannot be read as a register (no sheet row, a
        // damaged page, a lock held elsewhere): say so and end instead of aborting.
        Prompt::message(QString::number(error.number()) + QStringLiteral(" - ") + error.description(), AppTitle,
                        Prompt::Icon::Critical, Prompt::Buttons::Ok);
        return SessionOutcome::Ended;
    }
    CounterSeparator = QLatin1Char(' ') + ResourceText(1050) + QLatin1Char(' ');
    return SessionOutcome::Ready;
}

struct SingleInstance::Impl
{
    explicit Impl(const QString &path) : lock(path) {}
    QLockFile lock;
};

SingleInstance::SingleInstance(const QString &lockFolder)
{
    QString folder = lockFolder;
    if (folder.isEmpty())
        folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    const QString user = qEnvironmentVariable("USER", qEnvironmentVariable("USERNAME"));
    d = new Impl(QDir(folder).filePath(QStringLiteral("orvel2-%1.lock").arg(user)));
    // A lock left by a crashed run names a dead process; QLockFile takes it over.
    d->lock.setStaleLockTime(0);
    m_acquired = d->lock.tryLock(0);
}

SingleInstance::~SingleInstance()
{
    delete d;
}
