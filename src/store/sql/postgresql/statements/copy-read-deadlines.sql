-- The date as a file stores it, 'yyyy-MM-dd' text.
SELECT TrRowId, TrDbId, TrType, TrDone, to_char(TrDate, 'YYYY-MM-DD') AS TrDate, TrDescription, TrAcId, TrValue,
       TrBalance, TrGrpType, TrGrpRow, TrGrpMDay, TrNotes, TrGrpId
  FROM Transactions ORDER BY TrRowId;
