-- Sheets are listed in the one order of names, like clients and suppliers.
SELECT DbId, DbName FROM Dbs ORDER BY DbName COLLATE "und-x-icu";
