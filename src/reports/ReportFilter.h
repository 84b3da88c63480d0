#pragma once

#include "store/ReportStore.h"

#include <QDate>
#include <QString>
#include <QtGlobal>

// What a report selects, how it groups and how it prints, as the report window's
// controls hold it. The box rules live here so that no caller can ask for a
// report without any state or without any type of deadline.
class ReportFilter
{
public:
    enum StateBox { OpenBox, ClosedBox };
    enum TypeBox { CreditsBox, DebitsBox, AppointmentsBox };
    // The grouping choices, in the order of the window's list.
    enum Grouping {
        NoGrouping,
        ByDate,
        ByCounterparty,
        ByDateThenCounterparty,
        ByCounterpartyThenDate,
    };
    // How dates are grouped when the grouping involves dates.
    enum DateMode {
        PeriodMode,     // until today / until the end of the month / later
        MonthMode,
        QuarterMode,
        FourMonthMode,
        YearMode,
    };

    ReportFilter() = default;

    bool isStateChecked(StateBox box) const { return m_states[box]; }
    // Applies a click: unchecking the last checked state box leaves it checked.
    // Returns the box's value afterwards, for the control to show.
    bool setStateChecked(StateBox box, bool checked);

    bool isTypeChecked(TypeBox box) const { return m_types[box]; }
    // Same rule for the three type boxes.
    bool setTypeChecked(TypeBox box, bool checked);

    bool hasPeriod() const { return m_hasPeriod; }
    QDate periodFirst() const { return m_periodFirst; }
    QDate periodLast() const { return m_periodLast; }
    void setPeriodEnabled(bool on) { m_hasPeriod = on; }
    void setPeriod(const QDate &first, const QDate &last);

    bool hasCounterparty() const { return m_hasCounterparty; }
    qint32 counterpartyId() const { return m_counterpartyId; }
    QString counterpartyName() const { return m_counterpartyName; }
    void setCounterpartyEnabled(bool on) { m_hasCounterparty = on; }
    void setCounterparty(qint32 id, const QString &name);

    Grouping grouping() const { return m_grouping; }
    // Choosing a grouping with dates starts its date mode at PeriodMode again;
    // one without dates leaves no date mode chosen.
    void setGrouping(Grouping grouping);
    // Whether the date-mode choice means anything (groupings that involve dates).
    bool isDateModeEnabled() const;
    DateMode dateMode() const { return m_dateMode; }
    // Ignored while the date-mode choice is disabled; returns whether it was taken.
    bool setDateMode(DateMode mode);

    bool showTotals() const { return m_showTotals; }
    void setShowTotals(bool on) { m_showTotals = on; }
    bool repeatHeaders() const { return m_repeatHeaders; }
    void setRepeatHeaders(bool on) { m_repeatHeaders = on; }

    // True when every state and type is included and neither period nor
    // counterparty restricts the rows.
    bool selectsEverything() const;

    bool operator==(const ReportFilter &) const = default;

private:
    bool m_states[2] = {true, false};
    bool m_types[3] = {true, true, true};
    bool m_hasPeriod = false;
    QDate m_periodFirst;
    QDate m_periodLast;
    bool m_hasCounterparty = false;
    qint32 m_counterpartyId = 0;
    QString m_counterpartyName;
    Grouping m_grouping = NoGrouping;
    DateMode m_dateMode = PeriodMode;
    bool m_showTotals = true;
    bool m_repeatHeaders = false;
};

// The deadlines of the given sheet that the filter's state, type, period and
// counterparty choices select.
ReportSelection reportSelection(const ReportFilter &filter, qint32 sheetId);
