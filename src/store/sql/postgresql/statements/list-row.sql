-- One deadline by its row id, with the columns of list-sheet.
SELECT TrRowId, TrDbId, TrType, TrDone, TrDate, TrDescription, TrAcId, TrValue, TrBalance, TrGrpType, TrGrpRow,
       TrGrpMDay, TrNotes, TrGrpId, AcId, AcName, AcNotes
  FROM Transactions LEFT JOIN Accounts ON Transactions.TrAcId = Accounts.AcId
 WHERE TrRowId = :rowId;
