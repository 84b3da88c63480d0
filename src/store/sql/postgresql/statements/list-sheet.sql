-- Every deadline of a sheet with its client/supplier, through the sheet's index:
-- the plan for a sheet that holds a small share of the table. The columns are
-- the ones every list-* statement returns, in this order.
SELECT TrRowId, TrDbId, TrType, TrDone, TrDate, TrDescription, TrAcId, TrValue, TrBalance, TrGrpType, TrGrpRow,
       TrGrpMDay, TrNotes, TrGrpId, AcId, AcName, AcNotes
  FROM Transactions LEFT JOIN Accounts ON Transactions.TrAcId = Accounts.AcId
 WHERE TrDbId = :sheetId;
