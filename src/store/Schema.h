#pragma once

// Start-up steps on the database named by mainmod::ConnectionString. Each opens
// its own connection and closes it again.

// mainmod::ActiveSheetId := setting appset_cursca (default 1), or 1 when no Dbs
// row has that id. The setting itself is left as it is.
void LoadActiveSheet();

// mainmod::ActiveSheetName := DbName of the active sheet's row (which must exist).
void LoadActiveSheetName();

// Adds Transactions.TrGrpId to a database of the older release and sets it to 0
// where it is Null. Every error is ignored: on a current database the first
// statement fails harmlessly and the second finds nothing to change.
void UpgradeSchemaGroupColumn();

// Makes every text column of every table accept the empty string: a CHECK
// constraint that refuses '' for one text column is dropped by rebuilding its
// table in one transaction, keeping rows, indexes, triggers and the counter.
// Columns that already accept '' are left alone. Throws DbError.
void EnableZeroLengthText();
