-- The three tables as the template defines them, rows kept: a CHECK that refuses
-- the empty text goes (an emptied field must save), Accounts.AcId becomes the
-- engine's counter (a deleted highest id is not handed out again), and the
-- template's indexes are there. Each counter keeps the highest id it gave.

-- A column the template does not know would not survive the rebuild: such a file
-- is refused here and stays whole at the version before, rather than losing it.
CREATE TEMP TABLE known_columns_only (ok INTEGER CHECK (ok));
INSERT INTO temp.known_columns_only
  SELECT count(*) = 0 FROM (
    SELECT name FROM pragma_table_info('Dbs') WHERE lower(name) NOT IN ('dbid', 'dbname')
    UNION ALL
    SELECT name FROM pragma_table_info('Accounts') WHERE lower(name) NOT IN ('acid', 'acname', 'acnotes')
    UNION ALL
    SELECT name FROM pragma_table_info('Transactions')
      WHERE lower(name) NOT IN ('trrowid', 'trdbid', 'trtype', 'trdone', 'trdate', 'trdescription', 'tracid',
                                'trvalue', 'trbalance', 'trgrptype', 'trgrprow', 'trgrpmday', 'trnotes', 'trgrpid'));
DROP TABLE temp.known_columns_only;

ALTER TABLE Dbs RENAME TO Dbs_older;
CREATE TABLE Dbs (
  DbId INTEGER NOT NULL PRIMARY KEY,
  DbName VARCHAR(100) COLLATE NOCASE
);
INSERT INTO Dbs (DbId, DbName) SELECT DbId, DbName FROM Dbs_older;
DROP TABLE Dbs_older;

ALTER TABLE Accounts RENAME TO Accounts_older;
CREATE TABLE Accounts (
  AcId INTEGER PRIMARY KEY AUTOINCREMENT,
  AcName VARCHAR(100) COLLATE NOCASE,
  AcNotes LONGTEXT
);
INSERT INTO Accounts (AcId, AcName, AcNotes) SELECT AcId, AcName, AcNotes FROM Accounts_older;
INSERT INTO sqlite_sequence (name, seq)
  SELECT 'Accounts', max(seq) FROM sqlite_sequence WHERE name IN ('Accounts', 'Accounts_older') HAVING max(seq) IS NOT NULL;
DELETE FROM sqlite_sequence
  WHERE name = 'Accounts' AND rowid <> (SELECT max(rowid) FROM sqlite_sequence WHERE name = 'Accounts');
DROP TABLE Accounts_older;

ALTER TABLE Transactions RENAME TO Transactions_older;
CREATE TABLE Transactions (
  TrRowId INTEGER PRIMARY KEY AUTOINCREMENT,
  TrDbId INTEGER DEFAULT 0,
  TrType INTEGER DEFAULT 0,
  TrDone YESNO NOT NULL DEFAULT 0,
  TrDate DATETIME,
  TrDescription VARCHAR(255) COLLATE NOCASE,
  TrAcId INTEGER DEFAULT 0,
  TrValue CURRENCY DEFAULT 0,
  TrBalance CURRENCY DEFAULT 0,
  TrGrpType VARCHAR(10),
  TrGrpRow INTEGER DEFAULT 0,
  TrGrpMDay INTEGER DEFAULT 0,
  TrNotes LONGTEXT,
  TrGrpId INTEGER DEFAULT 0
);
-- The older release's Yes/No is never Null; one another tool left Null becomes
-- No, as the template's NOT NULL asks.
INSERT INTO Transactions (TrRowId, TrDbId, TrType, TrDone, TrDate, TrDescription, TrAcId, TrValue, TrBalance,
                          TrGrpType, TrGrpRow, TrGrpMDay, TrNotes, TrGrpId)
  SELECT TrRowId, TrDbId, TrType, ifnull(TrDone, 0), TrDate, TrDescription, TrAcId, TrValue, TrBalance,
         TrGrpType, TrGrpRow, TrGrpMDay, TrNotes, TrGrpId FROM Transactions_older;
INSERT INTO sqlite_sequence (name, seq)
  SELECT 'Transactions', max(seq) FROM sqlite_sequence WHERE name IN ('Transactions', 'Transactions_older')
  HAVING max(seq) IS NOT NULL;
DELETE FROM sqlite_sequence
  WHERE name = 'Transactions' AND rowid <> (SELECT max(rowid) FROM sqlite_sequence WHERE name = 'Transactions');
DROP TABLE Transactions_older;

CREATE INDEX IF NOT EXISTS TrDbIdDate ON Transactions (TrDbId, TrDate);
CREATE INDEX IF NOT EXISTS TrGrpIdIndex ON Transactions (TrGrpId);
CREATE INDEX IF NOT EXISTS TrAcIdIndex ON Transactions (TrAcId);
CREATE INDEX IF NOT EXISTS AcNameIndex ON Accounts (AcName);
