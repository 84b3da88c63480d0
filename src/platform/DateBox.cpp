#include "platform/DateBox.h"

#include "platform/Clock.h"
#include "platform/DateFormat.h"
#include "platform/DateText.h"

#include <QAction>
#include <QCalendarWidget>
#include <QFrame>
#include <QIcon>
#include <QKeyEvent>
#include <QVBoxLayout>

DateBox::DateBox(QWidget *parent)
    : QLineEdit(parent)
{
    m_calendarAction = addAction(QIcon(QStringLiteral(":/icons/calendar.svg")), QLineEdit::TrailingPosition);
    connect(m_calendarAction, &QAction::triggered, this, &DateBox::showCalendar);
    setDate(Clock::today());
}

void DateBox::setDate(const QDate &date)
{
    const QDate bounded = date.isValid() ? qBound(m_minimum, date, m_maximum) : m_date;
    setText(shortDateText(bounded));
    if (bounded == m_date)
        return;
    m_date = bounded;
    emit dateChanged(m_date);
}

void DateBox::setDateRange(const QDate &minimum, const QDate &maximum)
{
    m_minimum = minimum;
    m_maximum = maximum;
    if (m_date.isValid())
        setDate(m_date);
}

void DateBox::setCalendarName(const QString &name)
{
    m_calendarAction->setText(name);
    m_calendarAction->setToolTip(name);
}

std::optional<QDate> DateBox::typedDate() const
{
    // The box's own full text stands for its date; only a typed one is parsed.
    if (m_date.isValid() && text() == shortDateText(m_date))
        return m_date;
    const std::optional<QDate> typed = DateText::parse(text(), locale(), m_date.isValid() ? m_date : Clock::today());
    if (!typed || *typed < m_minimum || *typed > m_maximum)
        return std::nullopt;
    return typed;
}

QDate DateBox::date() const
{
    return typedDate().value_or(QDate());
}

bool DateBox::acceptText()
{
    const std::optional<QDate> typed = typedDate();
    if (!typed)
        return false;
    setDate(*typed);
    return true;
}

bool DateBox::holdsDate()
{
    if (acceptText())
        return true;
    setFocus(Qt::OtherFocusReason);
    return false;
}

void DateBox::showCalendar()
{
    if (!m_popup) {
        m_popup = new QFrame(this, Qt::Popup);
        m_popup->setFrameShape(QFrame::StyledPanel);
        m_calendar = new QCalendarWidget(m_popup);
        m_calendar->setObjectName(QStringLiteral("calendar"));
        auto *layout = new QVBoxLayout(m_popup);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(m_calendar);
        connect(m_calendar, &QCalendarWidget::clicked, this, &DateBox::pick);
        connect(m_calendar, &QCalendarWidget::activated, this, &DateBox::pick);
    }
    m_calendar->setDateRange(m_minimum, m_maximum);
    const std::optional<QDate> typed = DateText::parse(text(), locale(), m_date);
    m_calendar->setSelectedDate(typed ? *typed : m_date);
    m_popup->move(mapToGlobal(QPoint(0, height())));
    m_popup->show();
    m_calendar->setFocus(Qt::PopupFocusReason);
}

void DateBox::pick(const QDate &date)
{
    m_popup->hide();
    setDate(date);
    setFocus(Qt::PopupFocusReason);
    selectAll();
}

void DateBox::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_F4 || (event->key() == Qt::Key_Down && (event->modifiers() & Qt::AltModifier))) {
        showCalendar();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void DateBox::focusOutEvent(QFocusEvent *event)
{
    // A date the user typed shows in full as soon as the box is left.
    acceptText();
    QLineEdit::focusOutEvent(event);
}
