#pragma once

#include "store/TextColumn.h"

#include <QString>
#include <QtGlobal>

#include <limits>
#include <vector>

class RowReader;

// The list's deadlines held column by column, as a sheet's read returns them:
// each field one vector, the same index one deadline. A list of 100,000 rows is
// filled by appending to seventeen vectors, and a grid takes each vector over
// whole instead of copying it value by value.
struct DeadlineColumns
{
    // A day no date holds: the file holds no date (or something else).
    static constexpr qint32 NoDay = std::numeric_limits<qint32>::min();
    // An amount the file holds as a value no amount holds (a text, a number out of range).
    static constexpr qint64 Unreadable = std::numeric_limits<qint64>::min();

    std::vector<qint32> rowId;            // TrRowId
    std::vector<qint32> sheetId;          // TrDbId
    std::vector<qint32> type;             // TrType: 1 credit, -1 debit, -2 appointment
    std::vector<qint32> done;             // TrDone: 1 or 0
    std::vector<qint32> day;              // TrDate as its Julian day, or NoDay
    TextColumn description;     // TrDescription: Null stays a null QString
    std::vector<qint32> counterpartyRef;  // TrAcId as stored, 0 for none
    std::vector<qint64> amount;           // TrValue in ten-thousandths, or Unreadable
    std::vector<qint64> balance;          // TrBalance: amount times type, or Unreadable
    TextColumn cadence;         // TrGrpType
    std::vector<qint32> groupRow;         // TrGrpRow
    std::vector<qint32> groupSize;        // TrGrpMDay
    TextColumn notes;           // TrNotes
    std::vector<qint32> groupId;          // TrGrpId, 0 outside any recurrence
    std::vector<qint32> counterpartyId;   // AcId of the client/supplier found, 0 for none
    TextColumn counterpartyName;    // AcName
    TextColumn counterpartyNotes;   // AcNotes

    int size() const { return int(rowId.size()); }
    // Room for at least rows, its memory committed as the rows are appended.
    void reserve(size_t rows);
    // The current row of a list-* statement, appended.
    void append(const RowReader &row);
    // The same without the client/supplier: the first fourteen columns, the
    // last three left for joinCounterparties.
    void appendDeadline(const RowReader &row);
    // The client/supplier columns of every row appended without them, from the
    // rows of list-counterparties: a row whose client is not among them has none.
    void joinCounterparties(RowReader &counterparties);
    // Only the rows at those indexes, in that order.
    DeadlineColumns picked(const std::vector<int> &indexes) &&;

    // Calls apply on each column of one set of columns, or on the same column of
    // two, in the order of the list-* statements' select lists.
    template<typename Apply, typename... Sets>
    static void forEachColumn(Apply &&apply, Sets &...sets);

private:
    void commitAhead();

    size_t m_committed = 0;   // rows whose memory is committed in every column
};

template<typename Apply, typename... Sets>
void DeadlineColumns::forEachColumn(Apply &&apply, Sets &...sets)
{
    apply(sets.rowId...);
    apply(sets.sheetId...);
    apply(sets.type...);
    apply(sets.done...);
    apply(sets.day...);
    apply(sets.description...);
    apply(sets.counterpartyRef...);
    apply(sets.amount...);
    apply(sets.balance...);
    apply(sets.cadence...);
    apply(sets.groupRow...);
    apply(sets.groupSize...);
    apply(sets.notes...);
    apply(sets.groupId...);
    apply(sets.counterpartyId...);
    apply(sets.counterpartyName...);
    apply(sets.counterpartyNotes...);
}
