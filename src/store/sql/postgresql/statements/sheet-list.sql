-- Sheets are listed in the one order of names, like clients and suppliers: see
-- counterparty-list.sql.
SELECT DbId, DbName FROM Dbs ORDER BY lower(DbName) COLLATE "und-x-icu", DbName COLLATE "C";
