-- The open deadlines of every sheet from :first to :last, with the sheet's name,
-- by sheet, date and row.
SELECT TrRowId, TrDbId, DbName, TrDate, TrType, TrDescription, TrGrpId, TrGrpRow, TrGrpMDay
  FROM Transactions INNER JOIN Dbs ON Transactions.TrDbId = Dbs.DbId
 WHERE TrDone = 0 AND TrDate BETWEEN :first AND :last
 ORDER BY TrDbId, TrDate, TrRowId;
