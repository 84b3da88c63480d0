#pragma once

#include <QDate>
#include <QWidget>

class MonthCalendar;
class QVBoxLayout;
class Session;

// The column beside the list: the month calendar, its days with open deadlines
// in bold, and under it the parts the window adds (upcoming deadlines, notes).
class CalendarColumn final : public QWidget
{
    Q_OBJECT

public:
    explicit CalendarColumn(Session &session, QWidget *parent = nullptr);
    ~CalendarColumn() override;

    MonthCalendar *calendar() const { return m_calendar; }
    QDate selectionStart() const;
    QDate selectionEnd() const;
    // Selects today without announcing a change: nothing is read yet.
    void showToday();
    // A part stacked under the calendar, with its share of the height.
    void addPart(QWidget *part, int stretch);
    // Shows as many months as fit; the column is as wide as the calendar.
    void arrange(int monthsAcross, int monthsDown);
    // Bold days: every day on show with an open deadline of the active sheet.
    void markBusyDays();

signals:
    void selectionChanged(const QDate &first, const QDate &last);
    // The calendar's help text while it has the focus; empty when it leaves.
    void helpShown(const QString &text);
    void keyDown(int key, Qt::KeyboardModifiers modifiers, bool *consumed);

private:
    void busyDaysRequested(const QDate &first, int dayCount);

    Session &m_session;
    MonthCalendar *m_calendar = nullptr;
    QVBoxLayout *m_column = nullptr;
};
