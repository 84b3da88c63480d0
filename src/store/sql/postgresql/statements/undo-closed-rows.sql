-- The rows purge-closed.sql deletes, whole, as a recorded change keeps them.
SELECT TrRowId, TrDbId, TrType, TrDone, TrDate, TrDescription, TrAcId, TrValue, TrBalance, TrGrpType, TrGrpRow, TrGrpMDay, TrNotes, TrGrpId
FROM Transactions WHERE TrDate <= :lastDate AND TrDone = 1 AND TrDbId = :sheetId;
