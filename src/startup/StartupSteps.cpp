#include "startup/StartupSteps.h"

#include "startup/DatabaseFolderChoice.h"
#include "startup/Provisioning.h"
#include "startup/Session.h"
#include "startup/Setting.h"
#include "startup/Texts.h"
#include "store/Database.h"
#include "store/DatabaseCheck.h"
#include "store/DbErrorText.h"
#include "store/SheetStore.h"
#include "store/Schema.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

constexpr int CannotRunText = 1358;        // "The application cannot be run."
constexpr int InUseText = 2001;
constexpr int WhenAvailableText = 2713;    // "Choose Retry once it is available again, ..."
constexpr int WhenPutRightText = 2714;     // "Choose Retry once this is put right, ..."

QString joinedLines(const QString &first, const QString &second)
{
    return first + QLatin1Char('\n') + second;
}

QString native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

Prompt::Answer tell(const QString &text, Prompt::Icon icon, Prompt::Buttons buttons,
                    Prompt::Default defaultButton = Prompt::Default::First)
{
    return Prompt::message(text, Session::AppTitle, icon, buttons, defaultButton);
}

// A start whose database cannot be opened is the end of the first run, as when
// provisioning runs, even though nothing is copied over the file.
void markFirstRunOver(SettingsStore &settings)
{
    if (!settings.text(Setting::FirstRunMarker).isEmpty())
        return;
    try {
        settings.setText(Setting::FirstRunMarker, FirstRunMarkerText);
    } catch (const SettingsStore::WriteError &) {
        // the message about the database follows; this one would only confuse
    }
}

// Offers to rebuild the indexes of a file whose rows are sound, after a copy of
// it is kept beside it. True when they were rebuilt; the file is untouched otherwise.
bool repairIndexes(const Session &session, const DatabaseProblem &problem)
{
    const QString copy = repairCopyPath(problem.path, QDateTime::currentDateTime());
    if (tell(joinedLines(describeDatabaseProblem(problem), Texts::text(2720).arg(native(copy))), Prompt::Icon::Warning,
             Prompt::Buttons::YesNo, Prompt::Default::Safe)
        != Prompt::Answer::Yes)
        return false;
    QFile original(problem.path);
    if (!original.copy(copy)) {
        tell(Texts::text(2722).arg(native(copy), original.errorString()), Prompt::Icon::Critical, Prompt::Buttons::Ok);
        return false;
    }
    try {
        rebuildIndexes(session.connectionString());
    } catch (const DbError &error) {
        tell(Texts::text(2723).arg(error.description(), native(copy)), Prompt::Icon::Critical, Prompt::Buttons::Ok);
        return false;
    }
    tell(Texts::text(2721).arg(native(copy)), Prompt::Icon::Information, Prompt::Buttons::Ok);
    return true;
}

} // namespace

PromptsAboveSplash::PromptsAboveSplash(std::function<void()> before)
    : m_inner(Prompt::current())
    , m_before(std::move(before))
{
    Prompt::install(this);
}

PromptsAboveSplash::~PromptsAboveSplash()
{
    if (&Prompt::current() == this)
        Prompt::install(&m_inner);
}

void PromptsAboveSplash::clearTheWay()
{
    if (m_before)
        m_before();
}

Prompt::Answer PromptsAboveSplash::message(const QString &text, const QString &caption, Prompt::Icon icon,
                                           Prompt::Buttons buttons, Prompt::Default defaultButton)
{
    clearTheWay();
    return m_inner.message(text, caption, icon, buttons, defaultButton);
}

QString PromptsAboveSplash::input(const QString &prompt, const QString &caption, const QString &initial)
{
    clearTheWay();
    return m_inner.input(prompt, caption, initial);
}

QString PromptsAboveSplash::chooseFolder(const QString &title)
{
    clearTheWay();
    return m_inner.chooseFolder(title);
}

QString PromptsAboveSplash::saveFile(const QString &caption, const QString &filter, const QString &suggested)
{
    clearTheWay();
    return m_inner.saveFile(caption, filter, suggested);
}

void applyLanguage(Session &session, const QString &localeLanguageCode)
{
    session.setLanguageChoice(session.settings().integer(Setting::LanguageChoice));
    const Language language = chooseLanguage(session.languageChoice(), localeLanguageCode);
    Texts::setLanguage(language);
    installQtTranslation(language);
    session.setHelpFile(session.programFolder() + QDir::separator() + helpFileName(language));
}

QString repairCopyPath(const QString &databasePath, const QDateTime &now)
{
    const QFileInfo file(databasePath);
    const QString stem = file.absolutePath() + QLatin1Char('/') + file.completeBaseName() + QStringLiteral(" before repair ")
                         + now.toString(QStringLiteral("yyyy-MM-dd HHmmss"));
    const QString suffix = file.suffix().isEmpty() ? QString() : QLatin1Char('.') + file.suffix();
    QString path = stem + suffix;
    for (int n = 2; QFileInfo::exists(path) || QFileInfo(path).isSymLink(); ++n)
        path = stem + QStringLiteral(" (%1)").arg(n) + suffix;
    return native(path);
}

QString describeDatabaseProblem(const DatabaseProblem &problem)
{
    using Kind = DatabaseProblem::Kind;
    using Damage = DatabaseProblem::Damage;
    const QString path = native(problem.path);
    switch (problem.kind) {
    case Kind::None:
        return {};
    case Kind::Missing:
        return Texts::text(2014).arg(path);
    case Kind::DanglingLink:
        return Texts::text(2011).arg(path, native(problem.detail));
    case Kind::NotAFile:
        return Texts::text(2012).arg(path);
    case Kind::FolderMissing:
        return Texts::text(2712).arg(native(problem.detail));
    case Kind::FolderIsAFile:
        return Texts::text(2715).arg(native(problem.detail));
    case Kind::FolderUnreachable:
        return Texts::text(2013).arg(native(problem.detail));
    case Kind::FolderReadOnly:
        return Texts::text(2716).arg(native(problem.detail));
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
    case Damage::Indexes: what = Texts::text(2719).arg(problem.detail); break;
    }
    return Texts::text(2003).arg(path, what);
}

SessionOutcome prepareSession(Session &session, const QString &localeLanguageCode,
                              const std::function<void()> &beforeTelling)
{
    SettingsStore &settings = session.settings();
    applyLanguage(session, localeLanguageCode);
    PromptsAboveSplash aboveSplash(beforeTelling);

    // Only an empty setting means the default folder. A folder the user named is
    // never swapped for it: a stick or a share that is not there is said so.
    const QString stored = settings.text(Setting::DatabaseFolder);
    bool defaultInUse = stored.trimmed().isEmpty();
    QString folder = defaultInUse ? defaultDatabaseFolder() : stored;

    enum class Next { Again, Quit };
    // Retry, Choose another folder (which goes on with it) or Quit.
    auto askAboutFolder = [&](const QString &text) {
        switch (tell(text, Prompt::Icon::Warning, Prompt::Buttons::RetryChooseQuit)) {
        case Prompt::Answer::Retry:
            return Next::Again;
        case Prompt::Answer::Choose: {
            const QString chosen = Prompt::chooseFolder(Texts::text(1401));
            if (chosen.isEmpty())
                return Next::Again;
            folder = chosen;
            defaultInUse = false;
            try {
                settings.setText(Setting::DatabaseFolder, chosen);
            } catch (const SettingsStore::WriteError &error) {
                // This run goes on with the chosen folder all the same.
                tell(error.message(), Prompt::Icon::Warning, Prompt::Buttons::Ok);
            }
            return Next::Again;
        }
        default:
            return Next::Quit;
        }
    };
    // A lock held by another program is no damage: the user may close that
    // program and try again, and is never sent to choose another folder.
    auto askRetryWhenBusy = [&](const QString &path) {
        return tell(Texts::text(InUseText).arg(native(path)), Prompt::Icon::Warning, Prompt::Buttons::RetryQuit)
               == Prompt::Answer::Retry;
    };

    bool repairOffered = false;
    for (;;) {
        // The default folder is the one folder the program makes, and only when it is in use.
        if (defaultInUse && !makeDatabaseFolder(folder) && !QFileInfo(folder).exists()) {
            if (askAboutFolder(joinedLines(Texts::text(2717).arg(native(folder)), Texts::text(WhenPutRightText)))
                == Next::Quit)
                return SessionOutcome::Ended;
            continue;
        }
        // A folder that cannot be written is said now, not at the first Save, and
        // before a copy of the template is tried there.
        const DatabaseProblem folderProblem = DatabaseCheck::inspectFolder(folder);
        if (!folderProblem.ok()) {
            const int then = folderProblem.kind == DatabaseProblem::Kind::FolderMissing ? WhenAvailableText
                                                                                         : WhenPutRightText;
            if (askAboutFolder(joinedLines(describeDatabaseProblem(folderProblem), Texts::text(then))) == Next::Quit)
                return SessionOutcome::Ended;
            continue;
        }
        session.setDatabaseFolder(folder);

        DatabaseProblem problem = DatabaseCheck::check(session.connectionString());
        if (problem.kind == DatabaseProblem::Kind::Missing) {
            const Provisioning provisioned = provisionDatabase(session);
            if (provisioned.result == Provisioning::Result::TemplateMissing) {
                tell(joinedLines(joinedLines(Texts::text(1359), describeDatabaseProblem(DatabaseProblem{
                                                                    DatabaseProblem::Kind::Missing,
                                                                    provisioned.templatePath})),
                                 Texts::text(CannotRunText)),
                     Prompt::Icon::Critical, Prompt::Buttons::Ok);
                DatabaseFolderChoice::askAfterFailedStart(settings);
                return SessionOutcome::Ended;
            }
            if (provisioned.result == Provisioning::Result::CopyFailed) {
                const QString text = Texts::text(2718).arg(native(problem.path), native(provisioned.templatePath),
                                                           provisioned.detail);
                if (askAboutFolder(joinedLines(text, Texts::text(WhenPutRightText))) == Next::Quit)
                    return SessionOutcome::Ended;
                continue;
            }
            problem = DatabaseCheck::check(session.connectionString());
        } else if (!problem.ok() && problem.kind != DatabaseProblem::Kind::Busy) {
            markFirstRunOver(settings);
        }

        if (problem.kind == DatabaseProblem::Kind::Busy) {
            if (askRetryWhenBusy(problem.path))
                continue;
            return SessionOutcome::Ended;
        }
        if (problem.kind == DatabaseProblem::Kind::Damaged && problem.damage == DatabaseProblem::Damage::Indexes
            && !repairOffered) {
            repairOffered = true;
            if (repairIndexes(session, problem))
                continue;
            return SessionOutcome::Ended;
        }
        if (!problem.ok()) {
            // What is wrong with the file, which stays as it is.
            tell(joinedLines(describeDatabaseProblem(problem), Texts::text(CannotRunText)), Prompt::Icon::Critical,
                 Prompt::Buttons::Ok);
            DatabaseFolderChoice::askAfterFailedStart(settings);
            return SessionOutcome::Ended;
        }

        try {
            // Everything is read before the first write, so that a refusal leaves the file as it was.
            const qint32 storedSheet = settings.integer(Setting::ActiveSheet);
            session.loadActiveSheet();
            upgradeSchema(session.connectionString());
            if (session.activeSheetId() != storedSheet && session.activeSheetId() != SheetStore::FirstSheetId)
                tell(Texts::text(2724).arg(native(Database::dataSource(session.connectionString())),
                                           session.activeSheetName()),
                     Prompt::Icon::Information, Prompt::Buttons::Ok);
        } catch (const DbError &error) {
            // A lock, a full disk or a drive that went away may pass: the user says when.
            const QString text = DbErrorText::sentence(error, Database::dataSource(session.connectionString()));
            if (DbErrorText::retryHelps(DbErrorText::cause(error))) {
                if (tell(text, Prompt::Icon::Warning, Prompt::Buttons::RetryQuit) == Prompt::Answer::Retry)
                    continue;
                return SessionOutcome::Ended;
            }
            tell(joinedLines(text, Texts::text(CannotRunText)), Prompt::Icon::Critical, Prompt::Buttons::Ok);
            return SessionOutcome::Ended;
        }
        break;
    }
    session.display().counterSeparator = QLatin1Char(' ') + Texts::text(1050) + QLatin1Char(' ');
    return SessionOutcome::Ready;
}
