-- NULL when the table is empty.
SELECT MIN(DbId) FROM Dbs;
