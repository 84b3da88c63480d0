#include "startup/StartupQuestions.h"

#include "startup/BackupSchedule.h"
#include "startup/DatabaseFolderChoice.h"
#include "startup/Provisioning.h"
#include "startup/Session.h"
#include "startup/Setting.h"
#include "startup/StartupSteps.h"
#include "startup/Texts.h"

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

SessionOutcome prepareSession(Session &session, const QString &localeLanguageCode,
                              const std::function<void()> &beforeTelling)
{
    using Result = DatabaseOpening::Result;
    SettingsStore &settings = session.settings();
    applyLanguage(session, localeLanguageCode);
    PromptsAboveSplash aboveSplash(beforeTelling);

    // Only an empty setting means the default folder. A folder the user named is
    // never swapped for it: a stick or a share that is not there is said so.
    const QString stored = settings.text(Setting::DatabaseFolder);
    bool defaultInUse = stored.trimmed().isEmpty();
    QString folder = defaultInUse ? defaultDatabaseFolder() : stored;

    // Retry, Choose another folder (which goes on with it) or Quit; false on Quit.
    auto askAboutFolder = [&](const QString &text) {
        switch (tell(text, Prompt::Icon::Warning, Prompt::Buttons::RetryChooseQuit)) {
        case Prompt::Answer::Retry:
            return true;
        case Prompt::Answer::Choose: {
            const QString chosen = Prompt::chooseFolder(Texts::text(1401));
            if (chosen.isEmpty())
                return true;
            folder = chosen;
            defaultInUse = false;
            try {
                settings.setText(Setting::DatabaseFolder, chosen);
            } catch (const SettingsStore::WriteError &error) {
                // This run goes on with the chosen folder all the same.
                tell(error.message(), Prompt::Icon::Warning, Prompt::Buttons::Ok);
            }
            return true;
        }
        default:
            return false;
        }
    };

    bool repairOffered = false;
    bool backupOffered = false;
    for (;;) {
        const DatabaseOpening found = openDatabase(session, folder, defaultInUse, repairOffered);
        switch (found.result) {
        case Result::Ready:
            if (!found.text.isEmpty())
                tell(found.text, Prompt::Icon::Information, Prompt::Buttons::Ok);
            return SessionOutcome::Ready;
        case Result::FolderUnusable:
            if (askAboutFolder(found.text))
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
