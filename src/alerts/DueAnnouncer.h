#pragma once

#include <QDate>
#include <QHash>
#include <QObject>
#include <QTimer>
#include <QtGlobal>

class DesktopNotifier;
class Session;

// Tells the desktop, one notification per sheet, about open deadlines that fell
// due since the last look: at start, when the day changes and after every
// change to the register. What was announced is kept in the settings, so a
// deadline is announced once, also across runs.
class DueAnnouncer final : public QObject
{
    Q_OBJECT

public:
    // The key of the notifications' one action.
    static inline const QString OpenAction = QStringLiteral("open");
    // How often the pinnable clock is asked whether the day changed.
    static constexpr int DayCheckMs = 60 * 1000;

    DueAnnouncer(Session &session, DesktopNotifier &notifier, QObject *parent = nullptr);

    // Announces now, then follows the register and the clock.
    void start();
    void setDayCheckInterval(int ms) { m_dayTimer.setInterval(ms); }

    // What is due today and within the warning days. Only what was not announced
    // yet, unless everything; with the Open action when someone listens for it.
    // Off in the preferences, nothing is sent unless everything is asked for.
    // The number of notifications sent; a database error sends none.
    enum class Scope { NewlyDue, Everything };
    int announce(Scope scope = Scope::NewlyDue, bool withOpenAction = true);

signals:
    // The user chose Open on the notification of that sheet.
    void openAsked(qint32 sheetId);

private:
    void dayCheck();

    Session &m_session;
    DesktopNotifier &m_notifier;
    QTimer m_dayTimer;
    QDate m_day;
    QHash<quint32, qint32> m_sheetByNotice;
};
