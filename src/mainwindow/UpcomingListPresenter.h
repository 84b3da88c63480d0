#pragma once

#include "platform/grid/GridPresenter.h"
#include "platform/grid/GridRecords.h"

#include <vector>

class Session;
struct DeadlineRow;

// The upcoming-deadlines panel's only computed text: a recurring deadline shows
// its position in the recurrence ("Rent 3/12") while counters are on.
// Columns: 1 TrDescription, 2 TrGrpType, 3 TrGrpRow, 4 TrGrpMDay, 5 TrRowId.
class UpcomingListPresenter final : public GridPresenter
{
public:
    explicit UpcomingListPresenter(const Session &session) : m_session(session) {}

    // The panel's five columns of each deadline, in the order given.
    static GridRecords records(const std::vector<DeadlineRow> &rows);

    bool displayText(int column, const GridRow &row, QString &text) override;
    bool isSortable(int column) override;

private:
    const Session &m_session;
};
