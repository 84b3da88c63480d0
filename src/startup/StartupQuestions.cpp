#include "startup/StartupQuestions.h"

#include "startup/BackupSchedule.h"
#include "startup/DatabaseFolderChoice.h"
#include "startup/Provisioning.h"
#include "startup/Session.h"
#include "startup/Setting.h"
#include "startup/StartupSteps.h"
#include "startup/Texts.h"
#include "store/Database.h"

#include <QDir>
#include <QLocale>

namespace {

Prompt::Answer tell(const QString &text, Prompt::Icon icon, Prompt::Buttons buttons,
                    Prompt::Default defaultButton = Prompt::Default::First)
{
    return Prompt::message(text, Session::AppTitle, icon, buttons, defaultButton);
}

// Offers to rebuild the indexes of a file whose rows are sound, after a copy of
// it is kept beside it. True when they were rebuilt; the file is untouched otherwise.
bool offerIndexRepair(const Session &session, const DatabaseOpening &found)
{
    if (tell(found.text, Prompt::Icon::Warning, Prompt::Buttons::YesNo, Prompt::Default::Safe) != Prompt::Answer::Yes)
        return false;
    const IndexRepair repair = repairIndexes(session, found.problem, found.copyPath);
    tell(repair.text, repair.repaired ? Prompt::Icon::Information : Prompt::Icon::Critical, Prompt::Buttons::Ok);
    return repair.repaired;
}

// Offers the newest backup that checks good in place of a damaged register,
// which is kept. True when the register was restored.
bool offerNewestBackup(Session &session, const DatabaseProblem &problem)
{
    if (problem.kind != DatabaseProblem::Kind::Damaged)
        return false;
    const std::optional<Backups::Entry> newest = newestGoodBackup(backupFolder(session));
    if (!newest)
        return false;
    const QLocale locale;
    const QString question = describeDatabaseProblem(problem) + u'\n'
                             + Texts::text(2848).arg(backupMomentText(newest->made, locale),
                                                     locale.toString(newest->deadlines), locale.toString(newest->sheets),
                                                     QDir::toNativeSeparators(newest->path));
    if (tell(question, Prompt::Icon::Warning, Prompt::Buttons::YesNo, Prompt::Default::Safe) != Prompt::Answer::Yes)
        return false;
    const BackupRestore restored = restoreBackup(session, newest->path, true);
    tell(restored.text, restored.restored ? Prompt::Icon::Information : Prompt::Icon::Critical, Prompt::Buttons::Ok);
    return restored.restored;
}

// A menu entry's text as a button's: without its mnemonic.
QString plainCaption(int id)
{
    QString caption = Texts::text(id);
    return caption.remove(u'&');
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

int PromptsAboveSplash::choice(const QString &text, const QString &caption, const QStringList &options)
{
    clearTheWay();
    return m_inner.choice(text, caption, options);
}

SessionOutcome prepareSession(Session &session, const QString &localeLanguageCode,
                              const std::function<void()> &beforeTelling, const std::function<QString()> &chooseServer)
{
    using Result = DatabaseOpening::Result;
    SettingsStore &settings = session.settings();
    applyLanguage(session, localeLanguageCode);
    PromptsAboveSplash aboveSplash(beforeTelling);

    // The register of this run alone (orvel2 --register), else a server the user
    // chose, else the folder's file. Only an empty folder setting means the
    // default folder. A folder the user named is never swapped for it: a stick or
    // a share that is not there is said so.
    const QString runOnly = session.registerForThisRun();
    QString server = runOnly.isEmpty() ? settings.text(Setting::ServerRegister).trimmed()
                     : Database::isServerRegister(runOnly) ? runOnly
                                                           : QString();
    const QString stored = !runOnly.isEmpty() && server.isEmpty() ? runOnly : settings.text(Setting::DatabaseFolder);
    bool defaultInUse = stored.trimmed().isEmpty();
    QString folder = defaultInUse ? defaultDatabaseFolder() : stored;

    // A folder chosen here is also the next start's, in place of any server.
    auto useFolder = [&](const QString &chosen) {
        folder = chosen;
        defaultInUse = false;
        server.clear();
        try {
            DatabaseFolderChoice::storeFolder(settings, chosen);
        } catch (const SettingsStore::WriteError &error) {
            // This run goes on with the chosen folder all the same.
            tell(error.message(), Prompt::Icon::Warning, Prompt::Buttons::Ok);
        }
    };
    // Retry, Choose another folder (which goes on with it) or Quit; false on Quit.
    auto askAboutFolder = [&](const QString &text) {
        switch (tell(text, Prompt::Icon::Warning, Prompt::Buttons::RetryChooseQuit)) {
        case Prompt::Answer::Retry:
            return true;
        case Prompt::Answer::Choose: {
            const QString chosen = Prompt::chooseFolder(Texts::text(1401));
            if (!chosen.isEmpty())
                useFolder(chosen);
            return true;
        }
        default:
            return false;
        }
    };
    // The same for a server, where the choice is a folder or another server.
    auto askAboutServer = [&](const QString &text) {
        switch (tell(text, Prompt::Icon::Warning, Prompt::Buttons::RetryChooseAnyQuit)) {
        case Prompt::Answer::Retry:
            return true;
        case Prompt::Answer::Choose:
            break;
        default:
            return false;
        }
        const int way = Prompt::choice(Texts::text(2955), Session::AppTitle, {plainCaption(2953), plainCaption(2954)});
        if (way == 0) {
            const QString chosen = Prompt::chooseFolder(Texts::text(1401));
            if (!chosen.isEmpty())
                useFolder(chosen);
        } else if (way == 1 && chooseServer) {
            const QString chosen = chooseServer();
            if (!chosen.isEmpty())
                server = chosen;
        }
        return true;
    };

    bool repairOffered = false;
    bool backupOffered = false;
    for (;;) {
        const DatabaseOpening found = server.isEmpty() ? openDatabase(session, folder, defaultInUse, repairOffered)
                                                       : openServerRegister(session, server);
        switch (found.result) {
        case Result::Ready:
            if (!found.text.isEmpty())
                tell(found.text, Prompt::Icon::Information, Prompt::Buttons::Ok);
            return SessionOutcome::Ready;
        case Result::FolderUnusable:
            if (askAboutFolder(found.text))
                continue;
            return SessionOutcome::Ended;
        case Result::ServerUnusable:
            if (askAboutServer(found.text))
                continue;
            return SessionOutcome::Ended;
        case Result::Retryable:
            if (tell(found.text, Prompt::Icon::Warning, Prompt::Buttons::RetryQuit) == Prompt::Answer::Retry)
                continue;
            return SessionOutcome::Ended;
        case Result::IndexesDamaged:
            repairOffered = true;
            if (offerIndexRepair(session, found))
                continue;
            return SessionOutcome::Ended;
        case Result::Unusable:
            if (!backupOffered) {
                backupOffered = true;
                if (offerNewestBackup(session, found.problem))
                    continue;
            }
            tell(found.text, Prompt::Icon::Critical, Prompt::Buttons::Ok);
            DatabaseFolderChoice::askAfterFailedStart(settings);
            return SessionOutcome::Ended;
        case Result::Failed:
            tell(found.text, Prompt::Icon::Critical, Prompt::Buttons::Ok);
            return SessionOutcome::Ended;
        }
    }
}
