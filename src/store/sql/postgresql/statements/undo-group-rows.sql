-- Every member of a recurrence, whole, as a recorded change keeps them.
SELECT TrRowId, TrDbId, TrType, TrDone, TrDate, TrDescription, TrAcId, TrValue, TrBalance, TrGrpType, TrGrpRow, TrGrpMDay, TrNotes, TrGrpId
FROM Transactions WHERE TrGrpId = :groupId;
