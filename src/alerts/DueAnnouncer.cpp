#include "alerts/DueAnnouncer.h"

#include "alerts/DesktopNotifier.h"
#include "alerts/DueDeadlines.h"
#include "alerts/DueNotices.h"
#include "platform/Clock.h"
#include "startup/Session.h"
#include "startup/Setting.h"
#include "startup/Texts.h"
#include "store/DbError.h"
#include "store/DueStore.h"
#include "store/Register.h"

namespace {

constexpr int SummaryText = 2945;   // "Deadlines due"
constexpr int OpenText = 2946;      // "Open"

}

DueAnnouncer::DueAnnouncer(Session &session, DesktopNotifier &notifier, QObject *parent)
    : QObject(parent)
    , m_session(session)
    , m_notifier(notifier)
{
    m_dayTimer.setInterval(DayCheckMs);
    connect(&m_dayTimer, &QTimer::timeout, this, &DueAnnouncer::dayCheck);
    connect(&m_notifier, &DesktopNotifier::actionInvoked, this, [this](quint32 id, const QString &key) {
        const auto sheet = m_sheetByNotice.constFind(id);
        if (key == OpenAction && sheet != m_sheetByNotice.cend())
            emit openAsked(*sheet);
    });
}

void DueAnnouncer::start()
{
    Register &changes = m_session.deadlineRegister();
    connect(&changes, &Register::deadlinesChanged, this, [this] { announce(); });
    // A renamed sheet is told by its new name the next time.
    connect(&changes, &Register::sheetsChanged, this, [this] { announce(); });
    m_day = Clock::today();
    m_dayTimer.start();
    announce();
}

void DueAnnouncer::dayCheck()
{
    const QDate today = Clock::today();
    if (today == m_day)
        return;
    m_day = today;
    announce();
}

int DueAnnouncer::announce(Scope scope, bool withOpenAction)
{
    SettingsStore &settings = m_session.settings();
    if (scope == Scope::NewlyDue && settings.integer(Setting::Notifications) == 0)
        return 0;
    const QDate today = Clock::today();
    const int warnDays = m_session.display().warnDays;
    std::vector<DueDeadline> due;
    try {
        due = DueStore(m_session.connectionString())
                  .openBetween(today, DueDeadlines::warnLimitDate(today, warnDays));
    } catch (const DbError &) {
        // The windows say what is wrong with the file; a notification has nothing to add.
        return 0;
    }
    const QStringList announced = scope == Scope::NewlyDue
                                      ? settings.text(Setting::AnnouncedDeadlines).split(u' ', Qt::SkipEmptyParts)
                                      : QStringList();
    const std::vector<DueNotices::SheetNotice> notices = DueNotices::newlyDue(due, announced);
    const QStringList actions =
        withOpenAction ? QStringList{OpenAction, Texts::text(OpenText)} : QStringList();
    int sent = 0;
    for (const DueNotices::SheetNotice &notice : notices) {
        const quint32 id = m_notifier.notify(
            Texts::text(SummaryText),
            DueNotices::sentence(notice, today, m_session.display().counterSeparator), actions);
        if (id == 0)
            continue;
        ++sent;
        m_sheetByNotice.insert(id, notice.sheetId);
    }
    // Kept whether or not a server showed them: a desktop without one would
    // otherwise be asked again after every change.
    if (!notices.empty() || announced.size() != qsizetype(due.size())) {
        try {
            settings.setText(Setting::AnnouncedDeadlines, DueNotices::announcedKeys(due).join(u' '));
        } catch (const SettingsStore::WriteError &) {
            // Announced again next time, which is better than never.
        }
    }
    return sent;
}
