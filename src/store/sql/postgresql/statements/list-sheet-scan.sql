-- list-sheet for a sheet that holds most of the table; the server's planner
-- chooses the pass over the table by itself.
SELECT TrRowId, TrDbId, TrType, TrDone, TrDate, TrDescription, TrAcId, TrValue, TrBalance, TrGrpType, TrGrpRow,
       TrGrpMDay, TrNotes, TrGrpId, AcId, AcName, AcNotes
  FROM Transactions LEFT JOIN Accounts ON Transactions.TrAcId = Accounts.AcId
 WHERE TrDbId = :sheetId;
