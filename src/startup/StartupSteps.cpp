#include "startup/StartupSteps.h"

#include "platform/Prompts.h"
#include "startup/DatabaseFolderChoice.h"
#include "startup/Provisioning.h"
#include "startup/Session.h"
#include "startup/Setting.h"
#include "startup/Texts.h"
#include "store/Database.h"
#include "store/DatabaseCheck.h"
#include "store/Schema.h"

#include <QDir>
#include <QFileInfo>

namespace {

constexpr int CannotRunText = 1358;   // "The application cannot be run."
constexpr int InUseText = 2001;

QString joinedLines(const QString &first, const QString &second)
{
    return first + QLatin1Char('\n') + second;
}

// The database's problem once provisioning has put a template copy where none was.
// Empty optional-like: kind None when the file is usable.
DatabaseProblem checkedDatabase(Session &session, bool &templateMissing)
{
    templateMissing = false;
    DatabaseProblem problem = DatabaseCheck::check(session.connectionString());
    if (problem.kind != DatabaseProblem::Kind::Missing) {
        // A start whose database cannot be opened is the end of the first run,
        // as when provisioning runs, even though nothing is copied over the file.
        if (!problem.ok() && problem.kind != DatabaseProblem::Kind::Busy
            && session.settings().text(Setting::FirstRunMarker).isEmpty()) {
            try {
                session.settings().setText(Setting::FirstRunMarker, FirstRunMarkerText);
            } catch (const SettingsStore::WriteError &) {
                // the message about the database follows; this one would only confuse
            }
        }
        return problem;
    }
    if (!provisionDatabase(session)) {
        templateMissing = true;
        return problem;
    }
    return DatabaseCheck::check(session.connectionString());
}

} // namespace

void applyLanguage(Session &session, const QString &localeLanguageCode)
{
    session.setLanguageChoice(session.settings().integer(Setting::LanguageChoice));
    const Language language = chooseLanguage(session.languageChoice(), localeLanguageCode);
    Texts::setLanguage(language);
    session.setHelpFile(session.programFolder() + QDir::separator() + helpFileName(language));
}

QString usableDatabaseFolder(const QString &stored, const QString &defaultFolder)
{
    // An empty setting would put the database at the root of the file system, a
    // relative one wherever the program happened to start.
    const QString folder = stored.trimmed();
    if (folder.isEmpty() || QDir::isRelativePath(folder) || !QFileInfo(folder).isDir())
        return defaultFolder;
    return stored;
}

QString describeDatabaseProblem(const DatabaseProblem &problem)
{
    using Kind = DatabaseProblem::Kind;
    using Damage = DatabaseProblem::Damage;
    const QString path = QDir::toNativeSeparators(problem.path);
    switch (problem.kind) {
    case Kind::None:
        return {};
    case Kind::Missing:
        return Texts::text(2014).arg(path);
    case Kind::DanglingLink:
        return Texts::text(2011).arg(path, QDir::toNativeSeparators(problem.detail));
    case Kind::NotAFile:
        return Texts::text(2012).arg(path);
    case Kind::FolderUnreachable:
        return Texts::text(2013).arg(QDir::toNativeSeparators(problem.detail));
    case Kind::Unreadable:
        return Texts::text(2010).arg(path);
    case Kind::Busy:
        return Texts::text(InUseText).arg(path);
    case Kind::Damaged:
        break;
    }
    QString what;
    switch (problem.damage) {
    case Damage::NotADatabase: what = Texts::text(2004).arg(problem.detail); break;
    case Damage::MissingTable: what = Texts::text(2005).arg(problem.table); break;
    case Damage::MissingColumn: what = Texts::text(2006).arg(problem.table, problem.column); break;
    case Damage::WrongKind: what = Texts::text(2007).arg(problem.table, problem.column, problem.detail); break;
    case Damage::NoSheet: what = Texts::text(2008).arg(problem.table); break;
    case Damage::Pages: what = Texts::text(2009).arg(problem.detail); break;
    }
    return Texts::text(2003).arg(path, what);
}

SessionOutcome prepareSession(Session &session, const QString &localeLanguageCode,
                              const std::function<void()> &beforeTelling)
{
    SettingsStore &settings = session.settings();
    const QString defaultFolder = defaultDatabaseFolder();
    applyLanguage(session, localeLanguageCode);
    session.setDatabaseFolder(usableDatabaseFolder(settings.text(Setting::DatabaseFolder), defaultFolder));

    auto tell = [&beforeTelling](const QString &text, Prompt::Icon icon, Prompt::Buttons buttons) {
        if (beforeTelling)
            beforeTelling();
        return Prompt::message(text, Session::AppTitle, icon, buttons);
    };
    // A lock held by another program is no damage: the user may close that
    // program and try again, and is never sent to choose another folder.
    auto askRetryWhenBusy = [&](const QString &path) {
        return tell(Texts::text(InUseText).arg(QDir::toNativeSeparators(path)), Prompt::Icon::Warning,
                    Prompt::Buttons::RetryQuit)
               == Prompt::Answer::Retry;
    };

    for (;;) {
        bool templateMissing = false;
        const DatabaseProblem problem = checkedDatabase(session, templateMissing);
        if (problem.kind == DatabaseProblem::Kind::Busy) {
            if (askRetryWhenBusy(problem.path))
                continue;
            return SessionOutcome::Ended;
        }
        if (!problem.ok()) {
            // "System file not found" when the template is missing; otherwise what is
            // wrong with the file, which stays as it is.
            const QString what = templateMissing
                                     ? joinedLines(Texts::text(1359), describeDatabaseProblem(DatabaseProblem{
                                           DatabaseProblem::Kind::Missing,
                                           session.programFolder() + QDir::separator() + QStringLiteral("master.gen")}))
                                     : describeDatabaseProblem(problem);
            tell(joinedLines(what, Texts::text(CannotRunText)), Prompt::Icon::Critical, Prompt::Buttons::Ok);
            DatabaseFolderChoice::askAfterFailedStart(settings);
            return SessionOutcome::Ended;
        }

        try {
            upgradeSchemaGroupColumn(session.connectionString());
            addOpenDeadlineIndex(session.connectionString());
            session.loadActiveSheet();
            enableZeroLengthText(session.connectionString());
            giveAccountsACounter(session.connectionString());
        } catch (const DbError &error) {
            if (error.isBusy()) {
                if (askRetryWhenBusy(Database::dataSource(session.connectionString())))
                    continue;
                return SessionOutcome::Ended;
            }
            tell(QString::number(error.number()) + QStringLiteral(" - ") + error.description(), Prompt::Icon::Critical,
                 Prompt::Buttons::Ok);
            return SessionOutcome::Ended;
        }
        break;
    }
    session.display().counterSeparator = QLatin1Char(' ') + Texts::text(1050) + QLatin1Char(' ');
    return SessionOutcome::Ready;
}
