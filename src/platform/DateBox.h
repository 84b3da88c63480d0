#pragma once

#include <QDate>
#include <QLineEdit>

#include <optional>

class QAction;
class QCalendarWidget;
class QFrame;

// A date box that takes a whole typed date in the locale's short form and its
// usual variants (see DateText), shows what it understood in full, and offers a
// calendar to pick from (the button, F4 or Alt+Down). A text that is no date is
// left as typed for the user to fix: whoever places the box keeps the focus in it
// while acceptText() fails, and a command that reads the date calls holdsDate().
class DateBox : public QLineEdit
{
    Q_OBJECT
public:
    explicit DateBox(QWidget *parent = nullptr);

    // The date the box shows, read from its text when asked: a command run by
    // Enter, a click or a screen reader's press acts on what was typed even though
    // the box never lost the focus. Invalid while the text is no date in range.
    QDate date() const;
    void setDate(const QDate &date);
    void setDateRange(const QDate &minimum, const QDate &maximum);
    // The name of the calendar button, for its tool tip and for screen readers.
    void setCalendarName(const QString &name);

    // Reads the text: a date in range becomes the box's date and shows in full.
    // False, with the text left alone, when it is no such date.
    bool acceptText();
    // For a command about to use date(): true when the text is a date, which then
    // shows in full; otherwise the box takes the focus and the command must stop.
    bool holdsDate();
    void showCalendar();

signals:
    void dateChanged(const QDate &date);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    std::optional<QDate> typedDate() const;
    void pick(const QDate &date);

    QDate m_date;
    QDate m_minimum{100, 1, 1};
    QDate m_maximum{9999, 12, 31};
    QAction *m_calendarAction = nullptr;
    QFrame *m_popup = nullptr;
    QCalendarWidget *m_calendar = nullptr;
};
