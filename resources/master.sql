-- The empty database that every new "orvel2.mdb" starts from.
--
-- Declared types tell the store what a column holds: INTEGER (32-bit whole
-- numbers; INTEGER PRIMARY KEY AUTOINCREMENT is a counter the engine assigns),
-- YESNO (1 / 0), DATETIME (a whole day as 'yyyy-MM-dd' text), CURRENCY (signed
-- ten-thousandths as an integer), VARCHAR(n) (text of at most n characters) and
-- LONGTEXT (long notes; a name containing TEXT keeps SQLite from turning a note
-- such as "007" into a number).

PRAGMA page_size = 4096;
PRAGMA journal_mode = DELETE;
-- The shape that upgrade scripts 001 and 002 (resources/sql/sqlite/upgrade) give
-- an older file; the scripts numbered above it run at the first start.
PRAGMA user_version = 2;

BEGIN;

CREATE TABLE Dbs (
  DbId INTEGER NOT NULL PRIMARY KEY,
  DbName VARCHAR(100) COLLATE NOCASE
);

CREATE TABLE Accounts (
  AcId INTEGER PRIMARY KEY AUTOINCREMENT,
  AcName VARCHAR(100) COLLATE NOCASE,
  AcNotes LONGTEXT
);

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

-- The lists, the calendar and the warning select one sheet by date; groups are
-- renumbered and counterparties checked for use by these columns.
CREATE INDEX TrDbIdDate ON Transactions (TrDbId, TrDate);
CREATE INDEX TrGrpIdIndex ON Transactions (TrGrpId);
CREATE INDEX TrAcIdIndex ON Transactions (TrAcId);
CREATE INDEX AcNameIndex ON Accounts (AcName);

-- Sheet 1 always exists: start-up falls back to it.
INSERT INTO Dbs (DbId, DbName) VALUES (1, 'Deadlines');

COMMIT;
