#include "platform/calendar/MonthCalendar.h"
#include "platform/grid/GridColours.h"

#include "platform/Clock.h"
#include "platform/calendar/MonthCalendarAccessible.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <QStyleOptionViewItem>
#include <QToolButton>
#include <QWheelEvent>

#include <algorithm>

namespace {

bool sameMonth(const QDate &a, const QDate &b)
{
    return a.year() == b.year() && a.month() == b.month();
}

} // namespace

MonthCalendar::MonthCalendar(QWidget *parent)
    : QFrame(parent)
    , m_state(Clock::today(), locale().firstDayOfWeek())
{
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(&MonthCalendarAccessible::create);
        return true;
    }();
    Q_UNUSED(factoryInstalled);

    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);

    // The buttons page the months on show and leave the selection alone; they take
    // no focus, so Tab goes from the days to the next control.
    const auto makeButton = [this](void (MonthCalendar::*step)()) {
        auto *button = new QToolButton(this);
        button->setAutoRaise(true);
        button->setAutoRepeat(true);
        button->setFocusPolicy(Qt::NoFocus);
        connect(button, &QToolButton::clicked, this, step);
        return button;
    };
    m_previousButton = makeButton(&MonthCalendar::showPreviousMonth);
    m_nextButton = makeButton(&MonthCalendar::showNextMonth);
    applyTexts();
    layoutMonths();
}

MonthCalendar::~MonthCalendar() = default;

void MonthCalendar::setCurrentDate(const QDate &date)
{
    setSelection(date, date);
}

void MonthCalendar::setSelection(const QDate &first, const QDate &last)
{
    const Snapshot before = snapshot();
    m_state.setSelection(first, last);
    settle(before, true);
}

void MonthCalendar::showMonth(const QDate &month)
{
    const Snapshot before = snapshot();
    m_state.showMonth(month);
    settle(before, false);
}

void MonthCalendar::showPreviousMonth()
{
    const Snapshot before = snapshot();
    m_state.scrollMonths(-1);
    settle(before, false);
}

void MonthCalendar::showNextMonth()
{
    const Snapshot before = snapshot();
    m_state.scrollMonths(1);
    settle(before, false);
}

void MonthCalendar::setFirstDayOfWeek(Qt::DayOfWeek day)
{
    m_firstDayFromLocale = false;
    const Snapshot before = snapshot();
    m_state.setFirstDayOfWeek(day);
    settle(before, false);
}

void MonthCalendar::syncFirstDayWithLocale()
{
    if (!m_firstDayFromLocale)
        return;
    const Snapshot before = snapshot();
    m_state.setFirstDayOfWeek(locale().firstDayOfWeek());
    settle(before, false);
}

void MonthCalendar::setDayBusy(const QDate &date, bool busy)
{
    m_state.setBusy(date, busy);
    update();   // the day may show in two months
}

void MonthCalendar::setBusyDays(const QSet<QDate> &days)
{
    m_state.setBusyDays(days);
    update();
}

void MonthCalendar::setTexts(const MonthCalendarTexts &texts)
{
    m_texts = texts;
    applyTexts();
}

void MonthCalendar::applyTexts()
{
    setAccessibleName(m_texts.calendar);
    m_previousButton->setAccessibleName(m_texts.previousMonth);
    m_previousButton->setToolTip(m_texts.previousMonth);
    m_nextButton->setAccessibleName(m_texts.nextMonth);
    m_nextButton->setToolTip(m_texts.nextMonth);
}

MonthGridGeometry::Metrics MonthCalendar::computeMetrics() const
{
    QFont bold = font();
    bold.setBold(true);
    const QFontMetrics plain(font());
    const QFontMetrics strong(bold);
    int names = 0;
    for (int column = 0; column < MonthCalendarState::DaysPerWeek; ++column)
        names = std::max(names, plain.horizontalAdvance(weekdayName(column)));
    const int digits = strong.horizontalAdvance(locale().toString(28));
    const int pad = std::max(4, plain.averageCharWidth());

    MonthGridGeometry::Metrics m;
    m.cell = QSize(std::max(digits + 2 * pad, names + pad), strong.height() + pad);
    m.title = std::max(strong.height() + pad + 2, m_previousButton->sizeHint().height());
    m.header = plain.height() + pad;
    m.margin = pad / 2 + 1;
    m.spacing = QSize(plain.height(), plain.height() / 2);
    return m;
}

QSize MonthCalendar::sizeForMonths(int across, int down) const
{
    return m_geometry.sizeFor(across, down, contentsMargins());
}

QSize MonthCalendar::sizeHint() const
{
    return sizeForMonths(1, 1);
}

QSize MonthCalendar::minimumSizeHint() const
{
    return sizeForMonths(1, 1);
}

void MonthCalendar::layoutMonths()
{
    m_geometry.layOut(computeMetrics(), contentsRect());
    const Snapshot before = snapshot();
    const int oldCount = m_state.monthCount();
    m_state.setMonthCount(m_geometry.across() * m_geometry.down());
    placeButtons();
    if (oldCount != m_state.monthCount() && QAccessible::isActive()) {
        QAccessibleEvent reorder(this, QAccessible::ObjectReorder);
        QAccessible::updateAccessibility(&reorder);
    }
    settle(before, false);
}

QRect MonthCalendar::visual(const QRect &logical) const
{
    return QStyle::visualRect(layoutDirection(), rect(), logical);
}

QRect MonthCalendar::monthRect(int monthIndex) const
{
    return visual(m_geometry.monthRect(monthIndex));
}

QRect MonthCalendar::dayRect(int monthIndex, int cell) const
{
    return visual(m_geometry.dayRect(monthIndex, cell));
}

QRect MonthCalendar::dayRect(const QDate &date) const
{
    const int month = homeMonthOf(date);
    return month < 0 ? QRect() : dayRect(month, m_state.cellOf(month, date));
}

int MonthCalendar::homeMonthOf(const QDate &date) const
{
    const int home = m_state.monthIndexOf(date);
    if (home >= 0)
        return home;
    for (int month = 0; month < m_state.monthCount(); ++month) {
        if (m_state.cellOf(month, date) >= 0)
            return month;
    }
    return -1;
}

bool MonthCalendar::hitTest(const QPoint &pos, int *monthIndex, int *cell) const
{
    return m_geometry.hit(QStyle::visualPos(layoutDirection(), rect(), pos), m_state.monthCount(), monthIndex, cell);
}

QDate MonthCalendar::dateAt(const QPoint &pos) const
{
    int month = 0;
    int cell = 0;
    return hitTest(pos, &month, &cell) ? m_state.dayAt(month, cell) : QDate();
}

bool MonthCalendar::isDayEnabled(const QDate &date) const
{
    return date >= MonthCalendarState::minimumDate() && date <= MonthCalendarState::maximumDate();
}

void MonthCalendar::placeButtons()
{
    const MonthGridGeometry::Metrics &m = m_geometry.metrics();
    const int side = std::min(m.title, m_previousButton->sizeHint().height() + 2);
    const QRect first = m_geometry.monthRect(0);
    const QRect last = m_geometry.monthRect(m_geometry.across() - 1);
    const int top = first.top() + (m.title - side) / 2;
    m_previousButton->setGeometry(visual(QRect(first.left(), top, side, side)));
    m_nextButton->setGeometry(visual(QRect(last.right() + 1 - side, top, side, side)));
    // The arrows point where the months go: away from the reading direction for "previous".
    const bool rightToLeft = layoutDirection() == Qt::RightToLeft;
    m_previousButton->setArrowType(rightToLeft ? Qt::RightArrow : Qt::LeftArrow);
    m_nextButton->setArrowType(rightToLeft ? Qt::LeftArrow : Qt::RightArrow);
}

QString MonthCalendar::weekdayName(int column, bool longName) const
{
    const int day = (int(m_state.firstDayOfWeek()) - 1 + column) % MonthCalendarState::DaysPerWeek + 1;
    return locale().standaloneDayName(day, longName ? QLocale::LongFormat : QLocale::ShortFormat);
}

QString MonthCalendar::monthTitle(int monthIndex) const
{
    const QDate month = m_state.month(monthIndex);
    QLocale years = locale();
    years.setNumberOptions(years.numberOptions() | QLocale::OmitGroupSeparator);
    return locale().standaloneMonthName(month.month()) + QLatin1Char(' ') + years.toString(month.year());
}

QString MonthCalendar::dayDescription(int monthIndex, int cell) const
{
    const QDate date = m_state.dayAt(monthIndex, cell);
    QStringList words;
    if (!sameMonth(date, m_state.month(monthIndex)))
        words << m_texts.otherMonthDay;
    if (m_state.isBusy(date))
        words << m_texts.busyDay;
    if (date == Clock::today())
        words << m_texts.today;
    if (m_state.isSelected(date))
        words << m_texts.selectedDay;
    return words.join(QStringLiteral(", "));
}

void MonthCalendar::paintEvent(QPaintEvent *event)
{
    QFrame::paintEvent(event);
    QPainter painter(this);
    for (int month = 0; month < m_state.monthCount(); ++month) {
        if (monthRect(month).intersects(event->rect()))
            paintMonth(painter, month);
    }
}

void MonthCalendar::paintMonth(QPainter &painter, int monthIndex)
{
    const MonthGridGeometry::Metrics &m = m_geometry.metrics();
    const QRect logical = m_geometry.monthRect(monthIndex);
    const QPalette::ColorGroup group = !isEnabled() ? QPalette::Disabled
        : isActiveWindow()                          ? QPalette::Active
                                                    : QPalette::Inactive;
    QFont bold = font();
    bold.setBold(true);

    painter.setPen(palette().color(group, QPalette::Text));
    painter.setFont(bold);
    // Leave room for the buttons on either side, so a long title never runs under them.
    const int buttons = m_previousButton->width();
    const QRect title(logical.left() + buttons, logical.top(), logical.width() - 2 * buttons, m.title);
    painter.drawText(visual(title), Qt::AlignCenter | Qt::TextSingleLine,
                     painter.fontMetrics().elidedText(monthTitle(monthIndex), Qt::ElideRight, title.width()));

    painter.setFont(font());
    painter.setPen(QColor::fromRgb(GridColours::readableText(palette().color(group, QPalette::PlaceholderText).rgb() & 0xffffff,
                                                             palette().color(group, QPalette::Base).rgb() & 0xffffff)));
    for (int column = 0; column < MonthCalendarState::DaysPerWeek; ++column) {
        const QRect cell = m_geometry.dayRect(monthIndex, column);
        const QRect header(cell.left(), logical.top() + m.title, cell.width(), m.header);
        painter.drawText(visual(header), Qt::AlignCenter | Qt::TextSingleLine, weekdayName(column));
    }
    const int line = logical.top() + m.title + m.header - 1;
    painter.setPen(palette().color(group, QPalette::Mid));
    painter.drawLine(visual(QRect(logical.left(), line, logical.width(), 1)).topLeft(),
                     visual(QRect(logical.left(), line, logical.width(), 1)).topRight());

    for (int cell = 0; cell < MonthCalendarState::DaysPerMonth; ++cell)
        paintDay(painter, monthIndex, cell);
}

void MonthCalendar::paintDay(QPainter &painter, int monthIndex, int cell)
{
    const QDate date = m_state.dayAt(monthIndex, cell);
    const bool enabled = isEnabled() && isDayEnabled(date);
    const bool inMonth = sameMonth(date, m_state.month(monthIndex));
    const bool selected = enabled && m_state.isSelected(date);
    const QPalette::ColorGroup group = !enabled ? QPalette::Disabled
        : isActiveWindow()                      ? QPalette::Active
                                                : QPalette::Inactive;

    QStyleOptionViewItem option;
    option.initFrom(this);
    option.rect = dayRect(monthIndex, cell);
    option.state &= ~(QStyle::State_HasFocus | QStyle::State_MouseOver);
    if (!enabled)
        option.state &= ~QStyle::State_Enabled;
    if (selected)
        option.state |= QStyle::State_Selected;
    if (enabled && monthIndex == m_hoverMonth && date == m_hoverDate)
        option.state |= QStyle::State_MouseOver;
    option.showDecorationSelected = true;
    // Styles that round a selection's ends draw one band per week row.
    const int column = cell % MonthCalendarState::DaysPerWeek;
    const bool before = column > 0 && m_state.isSelected(date.addDays(-1));
    const bool after = column < MonthCalendarState::DaysPerWeek - 1 && m_state.isSelected(date.addDays(1));
    option.viewItemPosition = before && after ? QStyleOptionViewItem::Middle
        : before                              ? QStyleOptionViewItem::End
        : after                               ? QStyleOptionViewItem::Beginning
                                              : QStyleOptionViewItem::OnlyOne;
    style()->drawPrimitive(QStyle::PE_PanelItemViewItem, &option, &painter, this);

    QFont dayFont = font();
    dayFont.setBold(m_state.isBusy(date));
    painter.setFont(dayFont);
    QColor text = palette().color(group, selected ? QPalette::HighlightedText : QPalette::Text);
    if (!inMonth && !selected)
        text = palette().color(QPalette::Disabled, QPalette::Text);
    // A theme's pair may fall short (light text on a mid blue, a pale grey dimming).
    const QColor back = palette().color(group, selected ? QPalette::Highlight : QPalette::Base);
    if (enabled)
        text = QColor::fromRgb(GridColours::readableText(text.rgb() & 0xffffff, back.rgb() & 0xffffff));
    painter.setPen(text);
    painter.drawText(option.rect, Qt::AlignCenter | Qt::TextSingleLine, locale().toString(date.day()));

    if (date == Clock::today()) {
        painter.setPen(QPen(palette().color(group, selected ? QPalette::HighlightedText : QPalette::Highlight), 1));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(option.rect.adjusted(1, 1, -2, -2));
    }
    if (hasFocus() && date == m_state.currentDate() && monthIndex == homeMonthOf(date)) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = option.rect.adjusted(2, 2, -2, -2);
        focus.backgroundColor = palette().color(group, selected ? QPalette::Highlight : QPalette::Base);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
    }
}

MonthCalendar::Snapshot MonthCalendar::snapshot() const
{
    return {m_state.selectionStart(), m_state.selectionEnd(), m_state.currentDate(),
            m_state.firstVisibleDate(), m_state.lastVisibleDate()};
}

void MonthCalendar::settle(const Snapshot &before, bool reportSelection)
{
    const Snapshot after = snapshot();
    const bool otherDays = after.firstVisible != before.firstVisible || after.lastVisible != before.lastVisible;
    const bool otherSelection = after.start != before.start || after.end != before.end;
    update();
    if (otherDays)
        m_state.dropBusyOutsideView();

    if (QAccessible::isActive()) {
        auto *calendar = dynamic_cast<MonthCalendarAccessible *>(QAccessible::queryAccessibleInterface(this));
        if (calendar && otherDays)
            calendar->monthsChanged();
        const int home = homeMonthOf(after.current);
        if (calendar && otherSelection && home >= 0) {
            QAccessibleEvent selection(calendar->monthTable(home), QAccessible::SelectionWithin);
            QAccessible::updateAccessibility(&selection);
        }
        if (hasFocus() && (after.current != before.current || otherDays))
            announceCurrentDay();
    }

    if (otherDays)
        emit busyDaysRequested(after.firstVisible, m_state.visibleDayCount());
    if (reportSelection && otherSelection)
        emit selectionChanged(after.start, after.end);
}

void MonthCalendar::announceCurrentDay()
{
    if (!QAccessible::isActive())
        return;
    auto *calendar = dynamic_cast<MonthCalendarAccessible *>(QAccessible::queryAccessibleInterface(this));
    const QDate current = m_state.currentDate();
    const int home = homeMonthOf(current);
    if (QAccessibleInterface *day = calendar && home >= 0 ? calendar->dayCell(home, m_state.cellOf(home, current)) : nullptr) {
        QAccessibleEvent focus(day, QAccessible::Focus);
        QAccessible::updateAccessibility(&focus);
    }
}

bool MonthCalendar::event(QEvent *event)
{
    if (event->type() == QEvent::Leave && m_hoverMonth >= 0) {
        m_hoverMonth = -1;
        m_hoverDate = QDate();
        update();
    }
    return QFrame::event(event);
}

void MonthCalendar::changeEvent(QEvent *event)
{
    switch (event->type()) {
    case QEvent::LocaleChange:
        syncFirstDayWithLocale();
        updateGeometry();
        layoutMonths();
        break;
    case QEvent::FontChange:
    case QEvent::StyleChange:
        updateGeometry();
        layoutMonths();
        break;
    case QEvent::LayoutDirectionChange:
        placeButtons();
        update();
        break;
    default:
        break;
    }
    QFrame::changeEvent(event);
}

void MonthCalendar::resizeEvent(QResizeEvent *event)
{
    QFrame::resizeEvent(event);
    layoutMonths();
}

void MonthCalendar::mousePressEvent(QMouseEvent *event)
{
    int month = 0;
    int cell = 0;
    if (event->button() != Qt::LeftButton || !hitTest(event->position().toPoint(), &month, &cell)) {
        QFrame::mousePressEvent(event);
        return;
    }
    const QDate date = m_state.dayAt(month, cell);
    if (!isDayEnabled(date))
        return;
    m_pressSnapshot = snapshot();
    m_dragging = true;
    m_state.pick(date, event->modifiers().testFlag(Qt::ShiftModifier));
    settle(m_pressSnapshot, false);
}

void MonthCalendar::mouseMoveEvent(QMouseEvent *event)
{
    int month = -1;
    int cell = 0;
    const bool onDay = hitTest(event->position().toPoint(), &month, &cell);
    const QDate date = onDay ? m_state.dayAt(month, cell) : QDate();
    if (month != m_hoverMonth || date != m_hoverDate) {
        m_hoverMonth = onDay ? month : -1;
        m_hoverDate = date;
        update();
    }
    // Between the months the range keeps its last day until the mouse finds another.
    if (m_dragging && onDay && (event->buttons() & Qt::LeftButton)) {
        const Snapshot before = snapshot();
        m_state.pick(date, true);
        settle(before, false);
    }
}

void MonthCalendar::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !m_dragging) {
        QFrame::mouseReleaseEvent(event);
        return;
    }
    // A drag reports its range once, when it ends, since the window runs a query on it.
    m_dragging = false;
    settle(m_pressSnapshot, true);
}

void MonthCalendar::wheelEvent(QWheelEvent *event)
{
    m_wheelDelta += event->angleDelta().y();
    const int steps = m_wheelDelta / QWheelEvent::DefaultDeltasPerStep;
    if (steps != 0) {
        m_wheelDelta -= steps * QWheelEvent::DefaultDeltasPerStep;
        const Snapshot before = snapshot();
        m_state.scrollMonths(-steps);
        settle(before, false);
    }
    event->accept();
}

void MonthCalendar::keyPressEvent(QKeyEvent *event)
{
    bool consumed = false;
    emit keyDown(event->key(), event->modifiers(), &consumed);
    if (consumed) {
        event->accept();
        return;
    }
    const auto move = MonthCalendarState::moveForKey(event->key(), layoutDirection());
    if (!move) {
        QFrame::keyPressEvent(event);
        return;
    }
    const Snapshot before = snapshot();
    m_state.move(*move, event->modifiers().testFlag(Qt::ShiftModifier));
    settle(before, true);
    event->accept();
}

void MonthCalendar::focusInEvent(QFocusEvent *event)
{
    QFrame::focusInEvent(event);
    update();
    announceCurrentDay();
    emit gotFocus();
}

void MonthCalendar::focusOutEvent(QFocusEvent *event)
{
    QFrame::focusOutEvent(event);
    update();
    emit lostFocus();
}
