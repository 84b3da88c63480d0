-- list-sheet for a sheet that holds most of the table: one pass over the table
-- in row-id order costs less than an index lookup for each of its rows.
SELECT TrRowId, TrDbId, TrType, TrDone, TrDate, TrDescription, TrAcId, TrValue, TrBalance, TrGrpType, TrGrpRow,
       TrGrpMDay, TrNotes, TrGrpId
  FROM Transactions NOT INDEXED
 WHERE TrDbId = :sheetId;
