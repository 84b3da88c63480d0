-- A new sheet takes the highest id plus 1 (1 in an empty table).
SELECT COALESCE(MAX(DbId), 0) + 1 FROM Dbs;
