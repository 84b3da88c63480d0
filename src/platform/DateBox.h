#pragma once

#include <QDate>
#include <QLineEdit>

class QAction;
class QCalendarWidget;
class QFrame;

// A date box that takes a whole typed date in the locale's short form and its
// usual variants (see DateText), shows what it understood in full, and offers a
// calendar to pick from (the button, F4 or Alt+Down). A text that is no date is
// left as typed for the user to fix: whoever places the box keeps the focus in it
// while acceptText() fails.
class DateBox : public QLineEdit
{
    Q_OBJECT
public:
    explicit DateBox(QWidget *parent = nullptr);

    QDate date() const { return m_date; }
    void setDate(const QDate &date);
    void setDateRange(const QDate &minimum, const QDate &maximum);
    // The name of the calendar button, for its tool tip and for screen readers.
    void setCalendarName(const QString &name);

    // Reads the text: a date in range becomes the box's date and shows in full.
    // False, with the text left alone, when it is no such date.
    bool acceptText();
    void showCalendar();

signals:
    void dateChanged(const QDate &date);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    void pick(const QDate &date);

    QDate m_date;
    QDate m_minimum{100, 1, 1};
    QDate m_maximum{9999, 12, 31};
    QAction *m_calendarAction = nullptr;
    QFrame *m_popup = nullptr;
    QCalendarWidget *m_calendar = nullptr;
};
