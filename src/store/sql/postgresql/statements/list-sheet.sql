-- Every deadline of a sheet through the sheet's index: the plan for a sheet that
-- holds a small share of the table. The columns are the first fourteen of every
-- list-* statement, in this order; the sheet's clients and suppliers are joined
-- in memory from list-counterparties.
SELECT TrRowId, TrDbId, TrType, TrDone, TrDate, TrDescription, TrAcId, TrValue, TrBalance, TrGrpType, TrGrpRow,
       TrGrpMDay, TrNotes, TrGrpId
  FROM Transactions
 WHERE TrDbId = :sheetId;
