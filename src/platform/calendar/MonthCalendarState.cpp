#include "platform/calendar/MonthCalendarState.h"

#include <algorithm>

QDate MonthCalendarState::minimumDate()
{
    return QDate(100, 1, 1);
}

QDate MonthCalendarState::maximumDate()
{
    return QDate(9999, 12, 31);
}

QDate MonthCalendarState::clamped(const QDate &date)
{
    if (!date.isValid())
        return minimumDate();
    return std::clamp(date, minimumDate(), maximumDate());
}

QDate MonthCalendarState::firstDayShown(const QDate &month, Qt::DayOfWeek firstDayOfWeek)
{
    const QDate first = monthStart(month);
    int lead = (first.dayOfWeek() - int(firstDayOfWeek) + DaysPerWeek) % DaysPerWeek;
    if (lead == 0)
        lead = DaysPerWeek;
    return first.addDays(-lead);
}

QSize MonthCalendarState::monthsThatFit(const QSize &available, const QSize &monthSize, const QSize &spacing)
{
    // n months need n * size + (n - 1) * spacing.
    const auto fit = [](int room, int size, int gap) {
        if (size <= 0)
            return 1;
        return std::max(1, (room + gap) / (size + gap));
    };
    return QSize(fit(available.width(), monthSize.width(), spacing.width()),
                 fit(available.height(), monthSize.height(), spacing.height()));
}

std::optional<MonthCalendarState::Move> MonthCalendarState::moveForKey(int key, Qt::LayoutDirection direction)
{
    const bool rightToLeft = direction == Qt::RightToLeft;
    switch (key) {
    case Qt::Key_Left:
        return rightToLeft ? Move::NextDay : Move::PreviousDay;
    case Qt::Key_Right:
        return rightToLeft ? Move::PreviousDay : Move::NextDay;
    case Qt::Key_Up:
        return Move::PreviousWeek;
    case Qt::Key_Down:
        return Move::NextWeek;
    case Qt::Key_Home:
        return Move::MonthStart;
    case Qt::Key_End:
        return Move::MonthEnd;
    case Qt::Key_PageUp:
        return Move::PreviousMonth;
    case Qt::Key_PageDown:
        return Move::NextMonth;
    default:
        return std::nullopt;
    }
}

QDate MonthCalendarState::moved(const QDate &from, Move move)
{
    QDate to;
    switch (move) {
    case Move::PreviousDay:
        to = from.addDays(-1);
        break;
    case Move::NextDay:
        to = from.addDays(1);
        break;
    case Move::PreviousWeek:
        to = from.addDays(-DaysPerWeek);
        break;
    case Move::NextWeek:
        to = from.addDays(DaysPerWeek);
        break;
    case Move::MonthStart:
        to = monthStart(from);
        break;
    case Move::MonthEnd:
        to = QDate(from.year(), from.month(), from.daysInMonth());
        break;
    case Move::PreviousMonth:
        to = from.addMonths(-1);
        break;
    case Move::NextMonth:
        to = from.addMonths(1);
        break;
    }
    return clamped(to);
}

MonthCalendarState::MonthCalendarState(const QDate &current, Qt::DayOfWeek firstDayOfWeek)
    : m_firstDayOfWeek(firstDayOfWeek)
    , m_anchor(clamped(current))
    , m_current(m_anchor)
{
    m_firstMonth = monthStart(m_current);
}

void MonthCalendarState::setMonthCount(int count)
{
    m_monthCount = std::max(1, count);
    showMonth(m_firstMonth);
    ensureShown(m_current);
}

QDate MonthCalendarState::month(int index) const
{
    return m_firstMonth.addMonths(index);
}

QDate MonthCalendarState::lastFirstMonth() const
{
    const QDate last = monthStart(maximumDate()).addMonths(1 - m_monthCount);
    return std::max(last, monthStart(minimumDate()));
}

void MonthCalendarState::showMonth(const QDate &month)
{
    m_firstMonth = std::clamp(monthStart(clamped(month)), monthStart(minimumDate()), lastFirstMonth());
}

void MonthCalendarState::scrollMonths(int delta)
{
    // Step from the first month shown by whole months; the clamp keeps both ends reachable.
    const int target = std::clamp(monthNumber(m_firstMonth) + delta, monthNumber(minimumDate()),
                                  monthNumber(lastFirstMonth()));
    showMonth(QDate(target / 12, target % 12 + 1, 1));
}

void MonthCalendarState::ensureShown(const QDate &date)
{
    const int wanted = monthNumber(date);
    const int first = monthNumber(m_firstMonth);
    if (wanted < first)
        scrollMonths(wanted - first);
    else if (wanted > first + m_monthCount - 1)
        scrollMonths(wanted - (first + m_monthCount - 1));
}

QDate MonthCalendarState::dayAt(int monthIndex, int cell) const
{
    return firstDayShown(month(monthIndex), m_firstDayOfWeek).addDays(cell);
}

int MonthCalendarState::cellOf(int monthIndex, const QDate &date) const
{
    if (monthIndex < 0 || monthIndex >= m_monthCount || !date.isValid())
        return -1;
    const qint64 cell = firstDayShown(month(monthIndex), m_firstDayOfWeek).daysTo(date);
    return cell >= 0 && cell < DaysPerMonth ? int(cell) : -1;
}

int MonthCalendarState::monthIndexOf(const QDate &date) const
{
    if (!date.isValid())
        return -1;
    const int index = monthNumber(date) - monthNumber(m_firstMonth);
    return index >= 0 && index < m_monthCount ? index : -1;
}

QDate MonthCalendarState::firstVisibleDate() const
{
    return dayAt(0, 0);
}

QDate MonthCalendarState::lastVisibleDate() const
{
    return dayAt(m_monthCount - 1, DaysPerMonth - 1);
}

int MonthCalendarState::visibleDayCount() const
{
    return int(firstVisibleDate().daysTo(lastVisibleDate())) + 1;
}

void MonthCalendarState::pick(const QDate &day, bool extend)
{
    m_current = clamped(day);
    if (!extend)
        m_anchor = m_current;
}

void MonthCalendarState::setSelection(const QDate &first, const QDate &last)
{
    m_anchor = clamped(first);
    m_current = clamped(last);
    ensureShown(m_current);
    ensureShown(m_anchor);
}

void MonthCalendarState::move(Move move, bool extend)
{
    pick(moved(m_current, move), extend);
    ensureShown(m_current);
}

void MonthCalendarState::setBusy(const QDate &date, bool busy)
{
    if (busy)
        m_busy.insert(date);
    else
        m_busy.remove(date);
}

void MonthCalendarState::dropBusyOutsideView()
{
    const QDate first = firstVisibleDate();
    const QDate last = lastVisibleDate();
    m_busy.removeIf([&](const QDate &day) { return day < first || day > last; });
}
