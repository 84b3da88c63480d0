-- The open deadlines of a sheet from :first to :last, the latest first, with the
-- columns of list-sheet.
SELECT TrRowId, TrDbId, TrType, TrDone, TrDate, TrDescription, TrAcId, TrValue, TrBalance, TrGrpType, TrGrpRow,
       TrGrpMDay, TrNotes, TrGrpId, AcId, AcName, AcNotes
  FROM Transactions LEFT JOIN Accounts ON Transactions.TrAcId = Accounts.AcId
 WHERE TrDbId = :sheetId AND TrDone = 0 AND TrDate BETWEEN :first AND :last
 ORDER BY TrDate DESC;
