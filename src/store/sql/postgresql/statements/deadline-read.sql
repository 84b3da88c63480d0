SELECT TrRowId, TrDbId, TrType, TrDone, TrDate, TrDescription, TrAcId, TrValue, TrBalance, TrGrpType, TrGrpRow,
       TrGrpMDay, TrGrpId, TrNotes
FROM Transactions WHERE TrRowId = :rowId;
