#include "reports/ReportApplyState.h"

bool ReportApplyState::changed(Change change)
{
    switch (change) {
    case Change::StateBox:
    case Change::TypeBox:
    case Change::Grouping:
    case Change::DateMode:
        if (!m_ready)
            return false;
        break;
    case Change::PeriodBox:
    case Change::PeriodDates:
    case Change::CounterpartyBox:
    case Change::Counterparty:
    case Change::Totals:
    case Change::RepeatHeaders:
        break;
    }
    m_applyEnabled = true;
    return true;
}
