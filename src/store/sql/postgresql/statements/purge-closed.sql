-- Keep the condition the same as count-closed.sql and undo-closed-rows.sql.
DELETE FROM Transactions WHERE TrDate <= :lastDate AND TrDone = 1 AND TrDbId = :sheetId;
