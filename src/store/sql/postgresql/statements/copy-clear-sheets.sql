-- The new register's own first sheet gives way to the copied ones.
DELETE FROM Dbs;
