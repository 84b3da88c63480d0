-- list-sheet for a sheet that holds most of the table; the server's planner
-- chooses the pass over the table by itself.
SELECT TrRowId, TrDbId, TrType, TrDone, TrDate, TrDescription, TrAcId, TrValue, TrBalance, TrGrpType, TrGrpRow,
       TrGrpMDay, TrNotes, TrGrpId
  FROM Transactions
 WHERE TrDbId = :sheetId;
