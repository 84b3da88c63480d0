#pragma once

// When the report window's Apply button is enabled. The report changes only on
// Apply; any change of a control after it enables the button again. While the
// window fills its own controls during loading, changes of the state and type
// boxes and of the two grouping lists do not count, so loading alone leaves
// nothing to apply.
class ReportApplyState
{
public:
    enum class Change {
        StateBox,
        TypeBox,
        Grouping,
        DateMode,
        PeriodBox,
        PeriodDates,
        CounterpartyBox,
        Counterparty,
        Totals,
        RepeatHeaders,
    };

    bool isReady() const { return m_ready; }
    // The end of loading.
    void setReady() { m_ready = true; }

    bool isApplyEnabled() const { return m_applyEnabled; }
    // Returns whether the change enabled Apply.
    bool changed(Change change);
    // The report now shows the controls' values.
    void applied() { m_applyEnabled = false; }

private:
    bool m_ready = false;
    bool m_applyEnabled = false;
};
