-- Keep the condition the same as purge-closed.sql: the count is what the purge removes.
SELECT COUNT(*) FROM Transactions WHERE TrDate <= :lastDate AND TrDone = 1 AND TrDbId = :sheetId;
