#pragma once

#include "store/Currency.h"
#include "store/DeadlineColumns.h"
#include "store/Statements.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QVariant>
#include <QtGlobal>

#include <memory>
#include <optional>
#include <vector>

class Connection;
class QSqlQuery;
class RowChange;

// One deadline as the lists read it, with its client/supplier's name and notes.
// A text the file holds as Null stays a null QString, apart from an empty one.
struct DeadlineRow
{
    qint32 rowId = 0;              // TrRowId
    qint32 sheetId = 0;            // TrDbId
    int type = 0;                  // TrType: 1 credit, -1 debit, -2 appointment
    bool done = false;             // TrDone
    QDate date;                    // TrDate; invalid when the file holds no date
    QString description;           // TrDescription
    qint32 counterpartyRef = 0;    // TrAcId as stored, 0 for none
    // Nothing where the file holds a value no amount holds (RowReader::amount).
    std::optional<Currency> amount = Currency();    // TrValue
    std::optional<Currency> balance = Currency();   // TrBalance: amount times type
    QString cadence;               // TrGrpType
    int groupRow = 0;              // TrGrpRow
    int groupSize = 0;             // TrGrpMDay
    QString notes;                 // TrNotes
    qint32 groupId = 0;            // TrGrpId, 0 outside any recurrence
    qint32 counterpartyId = 0;     // AcId of the client/supplier found, 0 for none
    QString counterpartyName;      // AcName
    QString counterpartyNotes;     // AcNotes
};

// The writes and the calendar's and warning's reads on deadlines (the
// Transactions table), each a named statement with bound values. Every operation throws DbError; one that runs several statements
// does so in one transaction, so a failure leaves nothing behind. A write given a
// RowChange records in it, inside its transaction, the rows as they were and are.
class DeadlineStore : private StoreConnection
{
public:
    // On its own connection to the file, or on the caller's, inside its transaction.
    using StoreConnection::StoreConnection;

    // Closes an open deadline, opens a closed one.
    void toggleDone(qint32 rowId, RowChange *change = nullptr);
    // A deadline outside any recurrence.
    void deleteDeadline(qint32 rowId, RowChange *change = nullptr);
    // One member of a recurrence; the rest of the group is numbered again.
    void deleteFromGroup(qint32 rowId, qint32 groupId, RowChange *change = nullptr);
    // Every member of a recurrence, whatever its sheet.
    void deleteGroup(qint32 groupId, RowChange *change = nullptr);

    // Highest group id of the whole table plus 1 (1 on an empty table), so ids
    // are unique across every sheet.
    qint32 nextGroupId();
    // Rewrites TrGrpRow (1..n by date) and TrGrpMDay (n) of every member of the
    // group, whatever its sheet; inside the caller's transaction when one is open.
    void renumberGroup(qint32 groupId);

    // The closed deadlines of one sheet dated on or before lastDate: how many,
    // and their removal, which returns how many went.
    int countClosedUpTo(qint32 sheetId, const QDate &lastDate);
    int purgeClosedUpTo(qint32 sheetId, const QDate &lastDate, RowChange *change = nullptr);

    // The days from first to last, ascending, that carry open deadlines of a sheet.
    QList<QDate> busyDays(qint32 sheetId, const QDate &first, const QDate &last);

    // Which kinds of open deadlines of a sheet are due.
    struct DueKinds
    {
        bool overdue = false;    // before today
        bool dueToday = false;
        bool upcoming = false;   // after today, up to the last day looked at
    };
    // Whether an open deadline of a sheet falls on or before limit.
    bool anyOpenUpTo(qint32 sheetId, const QDate &limit);
    // upcomingLast on or before today looks for no upcoming ones.
    DueKinds dueKinds(qint32 sheetId, const QDate &today, const QDate &upcomingLast);

    // Every deadline of a sheet, in no set order. When the sheet
    // holds most of the table, walking the table beats looking each row up
    // through the sheet's index, so the read takes the plan that suits the share.
    DeadlineColumns sheetRows(qint32 sheetId);
    // The deadlines among rowIds that still exist, whatever their sheet; a row
    // deleted meanwhile is simply absent.
    DeadlineColumns rowsById(const QList<qint32> &rowIds);
    // The open deadlines of a sheet from first to last, the latest first.
    std::vector<DeadlineRow> openRowsBetween(qint32 sheetId, const QDate &first, const QDate &last);
    // One deadline as stored: a row of Transactions. A Null text reads as empty,
    // a Null number as 0, a date with another tool's time part as its day.
    struct StoredDeadline
    {
        qint32 rowId = 0;
        qint32 sheetId = 0;
        int type = 0;              // 1 credit, -1 debit, -2 appointment
        bool done = false;
        QDate date;
        QString description;
        qint32 acId = 0;           // 0: no client/supplier
        Currency value;
        Currency balance;
        QString groupType;         // "n" outside any recurrence, else the cadence code
        qint32 groupRow = 0;
        qint32 groupSize = 0;
        qint32 groupId = 0;
        QString notes;
    };
    // The row with that TrRowId; nothing when there is none.
    std::optional<StoredDeadline> readDeadline(qint32 rowId);

    // What one save of the new-deadline window writes: a single deadline (one
    // date, group type "n") or the members of a recurrence, one per date.
    struct NewDeadlines
    {
        qint32 sheetId = 1;
        int type = -2;
        QString description;
        QString notes;
        qint32 acId = 0;
        Currency value;            // the balance is value x type
        QList<QDate> dates;        // at least one, ascending; member k is numbered k of n
        QChar groupType = u'n';    // the cadence code of a recurrence
        qint32 groupId = 0;        // the group to join; 0: a new one for a recurrence, none for a single deadline
    };
    struct CreatedDeadlines
    {
        QList<qint32> rowIds;      // the rows written, in date order; empty when refused
        QList<qint32> touched;     // those, or every member of the group they joined (renumbered), by date
    };
    // Inserts the deadlines, allocates the new group's id and renumbers a joined
    // group, all in one transaction. Writes nothing, returning no rows, when the
    // client/supplier was deleted meanwhile.
    CreatedDeadlines createDeadlines(const NewDeadlines &deadlines, RowChange *change = nullptr);

    // The columns the editor writes; each is set only when the user changed it.
    enum class EditedColumn { Date, Description, Counterparty, Value, Notes, Done };
    struct DeadlineChanges
    {
        std::optional<QDate> date;
        std::optional<QString> description;
        std::optional<qint32> acId;
        std::optional<Currency> value;   // the balance follows, value x the stored type
        std::optional<QString> notes;
        std::optional<bool> done;
    };
    enum class UpdateOutcome { Written, Conflict, Gone, CounterpartyGone };
    struct UpdateResult
    {
        UpdateOutcome outcome = UpdateOutcome::Written;
        QList<EditedColumn> conflicts;   // Conflict: the changed columns someone else changed first
        StoredDeadline now;              // Conflict: the row as it is now
    };
    // The editor's save of the row read as asRead. A change back to the value read
    // is no change. In one transaction the row is read again: when a column to
    // write no longer holds what was read, nothing is written (Conflict); else
    // only the changed columns are, so a change made meanwhile to another column
    // (the deadline closed from the list) is kept. Gone when the row was deleted;
    // CounterpartyGone, writing nothing, when the chosen client/supplier was.
    UpdateResult updateDeadline(const StoredDeadline &asRead, const DeadlineChanges &changes,
                                RowChange *change = nullptr);

};
