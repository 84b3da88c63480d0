#include "reports/ReportFilter.h"

#include <algorithm>
#include <iterator>

bool ReportFilter::setStateChecked(StateBox box, bool checked)
{
    m_states[box] = checked;
    if (std::none_of(std::begin(m_states), std::end(m_states), [](bool on) { return on; }))
        m_states[box] = true;
    return m_states[box];
}

bool ReportFilter::setTypeChecked(TypeBox box, bool checked)
{
    m_types[box] = checked;
    if (std::none_of(std::begin(m_types), std::end(m_types), [](bool on) { return on; }))
        m_types[box] = true;
    return m_types[box];
}

void ReportFilter::setPeriod(const QDate &first, const QDate &last)
{
    m_periodFirst = first;
    m_periodLast = last;
}

void ReportFilter::setCounterparty(qint32 id, const QString &name)
{
    m_counterpartyId = id;
    m_counterpartyName = name;
}

void ReportFilter::setGrouping(Grouping grouping)
{
    m_grouping = grouping;
    m_dateMode = PeriodMode;
}

bool ReportFilter::isDateModeEnabled() const
{
    return m_grouping == ByDate || m_grouping == ByDateThenCounterparty
        || m_grouping == ByCounterpartyThenDate;
}

bool ReportFilter::setDateMode(DateMode mode)
{
    if (!isDateModeEnabled())
        return false;
    m_dateMode = mode;
    return true;
}

bool ReportFilter::selectsEverything() const
{
    return m_states[OpenBox] && m_states[ClosedBox] && m_types[CreditsBox] && m_types[DebitsBox]
        && m_types[AppointmentsBox] && !m_hasPeriod && !m_hasCounterparty;
}

ReportSelection reportSelection(const ReportFilter &filter, qint32 sheetId)
{
    ReportSelection selection;
    selection.sheetId = sheetId;
    const bool open = filter.isStateChecked(ReportFilter::OpenBox);
    if (open != filter.isStateChecked(ReportFilter::ClosedBox))
        selection.done = !open;
    // Type codes in the order of the boxes; all three restrict nothing.
    static const qint16 codes[] = {1, -1, -2};
    for (int box = ReportFilter::CreditsBox; box <= ReportFilter::AppointmentsBox; ++box) {
        if (filter.isTypeChecked(ReportFilter::TypeBox(box)))
            selection.types.append(codes[box]);
    }
    if (selection.types.size() == 3)
        selection.types.clear();
    if (filter.hasPeriod()) {
        selection.first = filter.periodFirst();
        selection.last = filter.periodLast();
    }
    if (filter.hasCounterparty())
        selection.counterpartyId = filter.counterpartyId();
    return selection;
}
