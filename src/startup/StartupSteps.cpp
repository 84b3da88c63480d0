#include "startup/StartupSteps.h"

#include "platform/Keyring.h"
#include "startup/Provisioning.h"
#include "startup/Session.h"
#include "startup/Setting.h"
#include "startup/Texts.h"
#include "store/Database.h"
#include "startup/DbErrorText.h"
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
constexpr int WhenServerAnswersText = 2961; // "Choose Retry once the server answers again, ..."

QString joinedLines(const QString &first, const QString &second)
{
    return first + QLatin1Char('\n') + second;
}

QString native(const QString &path)
{
    return QDir::toNativeSeparators(path);
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

} // namespace

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

DatabaseOpening openServerRegister(Session &session, const QString &registerName)
{
    using Result = DatabaseOpening::Result;
    const Keyring::Read password = Keyring::current().read(registerName);
    session.setServerRegister(registerName, password.outcome == Keyring::Outcome::Done ? password.secret : QString());
    const QString connectionString = session.connectionString();
    DatabaseOpening ready;
    try {
        upgradeSchema(connectionString);
        const qint32 storedSheet = session.settings().integer(Setting::ActiveSheet);
        session.loadActiveSheet();
        if (session.activeSheetId() != storedSheet && session.activeSheetId() != SheetStore::FirstSheetId)
            ready.text = Texts::text(2724).arg(session.registerName(), session.activeSheetName());
    } catch (const DbError &error) {
        const QString text = DbErrorText::registerSentence(error, connectionString);
        switch (DbErrorText::registerCause(error, connectionString)) {
        case DbErrorText::Cause::Unreachable:
            return {Result::ServerUnusable, joinedLines(text, Texts::text(WhenServerAnswersText))};
        case DbErrorText::Cause::Busy:
        case DbErrorText::Cause::Full:
            return {Result::Retryable, text};
        default:
            return {Result::Failed, joinedLines(text, Texts::text(CannotRunText))};
        }
    }
    session.display().counterSeparator = QLatin1Char(' ') + Texts::text(1050) + QLatin1Char(' ');
    return ready;
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

IndexRepair repairIndexes(const Session &session, const DatabaseProblem &problem, const QString &copyPath)
{
    QFile original(problem.path);
    if (!original.copy(copyPath))
        return {false, Texts::text(2722).arg(native(copyPath), original.errorString())};
    try {
        rebuildIndexes(session.connectionString());
    } catch (const DbError &error) {
        return {false, Texts::text(2723).arg(error.description(), native(copyPath))};
    }
    return {true, Texts::text(2721).arg(native(copyPath))};
}

DatabaseOpening openDatabase(Session &session, const QString &folder, bool defaultFolder, bool repairOffered)
{
    using Result = DatabaseOpening::Result;
    SettingsStore &settings = session.settings();
    // The default folder is the one folder the program makes, and only when it is in use.
    if (defaultFolder && !makeDatabaseFolder(folder) && !QFileInfo(folder).exists())
        return {Result::FolderUnusable,
                joinedLines(Texts::text(2717).arg(native(folder)), Texts::text(WhenPutRightText))};
    // A folder that cannot be written is said now, not at the first Save, and
    // before a copy of the template is tried there.
    const DatabaseProblem folderProblem = DatabaseCheck::inspectFolder(folder);
    if (!folderProblem.ok()) {
        const int then = folderProblem.kind == DatabaseProblem::Kind::FolderMissing ? WhenAvailableText
                                                                                     : WhenPutRightText;
        return {Result::FolderUnusable, joinedLines(describeDatabaseProblem(folderProblem), Texts::text(then))};
    }
    session.setDatabaseFolder(folder);

    DatabaseProblem problem = DatabaseCheck::check(session.connectionString());
    if (problem.kind == DatabaseProblem::Kind::Missing) {
        const Provisioning provisioned = provisionDatabase(session);
        if (provisioned.result == Provisioning::Result::TemplateMissing) {
            const DatabaseProblem noTemplate{DatabaseProblem::Kind::Missing, provisioned.templatePath};
            return {Result::Unusable, joinedLines(joinedLines(Texts::text(1359), describeDatabaseProblem(noTemplate)),
                                                  Texts::text(CannotRunText))};
        }
        if (provisioned.result == Provisioning::Result::CopyFailed) {
            const QString text = Texts::text(2718).arg(native(problem.path), native(provisioned.templatePath),
                                                       provisioned.detail);
            return {Result::FolderUnusable, joinedLines(text, Texts::text(WhenPutRightText))};
        }
        problem = DatabaseCheck::check(session.connectionString());
    } else if (!problem.ok() && problem.kind != DatabaseProblem::Kind::Busy) {
        markFirstRunOver(settings);
    }

    // A lock held by another program is no damage: the user may close that
    // program and try again, and is never sent to choose another folder.
    if (problem.kind == DatabaseProblem::Kind::Busy)
        return {Result::Retryable, Texts::text(InUseText).arg(native(problem.path))};
    if (problem.kind == DatabaseProblem::Kind::Damaged && problem.damage == DatabaseProblem::Damage::Indexes
        && !repairOffered) {
        const QString copy = repairCopyPath(problem.path, QDateTime::currentDateTime());
        return {Result::IndexesDamaged,
                joinedLines(describeDatabaseProblem(problem), Texts::text(2720).arg(native(copy))), problem, copy};
    }
    if (!problem.ok()) {
        // What is wrong with the file, which stays as it is.
        return {Result::Unusable, joinedLines(describeDatabaseProblem(problem), Texts::text(CannotRunText)), problem};
    }

    DatabaseOpening ready;
    try {
        // Everything is read before the first write, so that a refusal leaves the file as it was.
        const qint32 storedSheet = settings.integer(Setting::ActiveSheet);
        session.loadActiveSheet();
        upgradeSchema(session.connectionString());
        if (session.activeSheetId() != storedSheet && session.activeSheetId() != SheetStore::FirstSheetId)
            ready.text = Texts::text(2724).arg(native(Database::dataSource(session.connectionString())),
                                               session.activeSheetName());
    } catch (const DbError &error) {
        // A lock, a full disk or a drive that went away may pass: the user says when.
        const QString text = DbErrorText::sentence(error, Database::dataSource(session.connectionString()));
        if (DbErrorText::retryHelps(DbErrorText::cause(error)))
            return {Result::Retryable, text};
        return {Result::Failed, joinedLines(text, Texts::text(CannotRunText))};
    }
    session.display().counterSeparator = QLatin1Char(' ') + Texts::text(1050) + QLatin1Char(' ');
    return ready;
}
