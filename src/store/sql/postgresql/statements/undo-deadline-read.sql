-- A whole deadline as stored, every column in the order a recorded change keeps.
SELECT TrRowId, TrDbId, TrType, TrDone, TrDate, TrDescription, TrAcId, TrValue, TrBalance, TrGrpType, TrGrpRow, TrGrpMDay, TrNotes, TrGrpId
FROM Transactions WHERE TrRowId = :id;
