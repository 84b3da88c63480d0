#include "startup/StartupSteps.h"

#include "platform/Prompts.h"
#include "startup/DatabaseFolderChoice.h"
#include "startup/Provisioning.h"
#include "startup/Session.h"
#include "startup/Setting.h"
#include "startup/Texts.h"
#include "store/Database.h"
#include "store/Schema.h"

#include <QDir>

SessionOutcome prepareSession(Session &session, const QString &localeLanguageCode)
{
    SettingsStore &settings = session.settings();
    const QString defaultFolder = defaultDatabaseFolder();

    session.setLanguageChoice(settings.integer(Setting::LanguageChoice));
    const Language language = chooseLanguage(session.languageChoice(), localeLanguageCode);
    Texts::setLanguage(language);
    session.setHelpFile(session.programFolder() + QDir::separator() + helpFileName(language));

    session.setDatabaseFolder(settings.text(Setting::DatabaseFolder, defaultFolder));

    if (Database::isUnavailable(session.connectionString())) {
        const bool provisioned = provisionDatabase(session);
        if (!provisioned || Database::isUnavailable(session.connectionString())) {
            // "Database damaged or not found" or "System file not found", then "The application cannot be run."
            const QString text = Texts::text(provisioned ? 1357 : 1359) + QLatin1Char('\n') + Texts::text(1358);
            Prompt::message(text, Session::AppTitle, Prompt::Icon::Critical, Prompt::Buttons::Ok);
            DatabaseFolderChoice::askAfterFailedStart(settings);
            return SessionOutcome::Ended;
        }
    }

    try {
        upgradeSchemaGroupColumn(session.connectionString());
        addOpenDeadlineIndex(session.connectionString());
        session.loadActiveSheet();
        enableZeroLengthText(session.connectionString());
    } catch (const DbError &error) {
        // A file that opens but cannot be read as a register (no sheet row, a
        // damaged page, a lock held elsewhere): say so and end instead of aborting.
        Prompt::message(QString::number(error.number()) + QStringLiteral(" - ") + error.description(),
                        Session::AppTitle, Prompt::Icon::Critical, Prompt::Buttons::Ok);
        return SessionOutcome::Ended;
    }
    session.display().counterSeparator = QLatin1Char(' ') + Texts::text(1050) + QLatin1Char(' ');
    return SessionOutcome::Ready;
}
