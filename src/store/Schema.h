#pragma once

#include <QString>

// The schema upgrades that run at every start. Each opens its own connection
// and closes it again.

// Adds Transactions.TrGrpId to a database of the older release and sets it to 0
// where it is Null. Every error is ignored: on a current database the first
// statement fails harmlessly and the second finds nothing to change.
void upgradeSchemaGroupColumn(const QString &connectionString);

// Makes every text column of every table accept the empty string: a CHECK
// constraint that refuses '' for one text column is dropped by rebuilding its
// table in one transaction, keeping rows, indexes, triggers and the counter.
// Columns that already accept '' are left alone. Throws DbError.
void enableZeroLengthText(const QString &connectionString);

// Adds the index that the calendar's bold days, the upcoming panel and the due
// check read open deadlines of one sheet by date through, so they need not visit
// the closed ones. Does nothing when it exists; errors are ignored.
void addOpenDeadlineIndex(const QString &connectionString);

// Rebuilds every index from its table: the repair of a file whose rows are sound
// but whose indexes disagree with them. Throws DbError.
void rebuildIndexes(const QString &connectionString);

// Makes Accounts.AcId the engine's counter (INTEGER PRIMARY KEY AUTOINCREMENT) in a
// file whose table lacks it, where a deleted highest id would be handed out again.
// The table is rebuilt in one transaction keeping every row, index and trigger; a
// table that already has the counter is only read. Throws DbError.
void giveAccountsACounter(const QString &connectionString);
