-- What a backup holds, shown in the list of backups; it fails on a file that is no register.
SELECT (SELECT COUNT(*) FROM Transactions) AS deadlines, (SELECT COUNT(*) FROM Dbs) AS sheets;
