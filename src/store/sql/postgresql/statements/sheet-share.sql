-- How many deadlines a sheet holds, and the whole table: the share decides the
-- plan of list-sheet.
SELECT (SELECT COUNT(*) FROM Transactions WHERE TrDbId = :sheetId), (SELECT COUNT(*) FROM Transactions);
