-- Keep the condition the same as count-closed.sql.
DELETE FROM Transactions WHERE TrDate <= :lastDate AND TrDone = 1 AND TrDbId = :sheetId;
