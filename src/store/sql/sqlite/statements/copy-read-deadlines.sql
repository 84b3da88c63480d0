-- Amounts and dates as the program reads them: an amount another tool stored as
-- a real number is its rounded ten-thousandths, a date with a time of day its day.
SELECT TrRowId, TrDbId, TrType, TrDone, substr(TrDate, 1, 10) AS TrDate, TrDescription, TrAcId,
       CASE WHEN typeof(TrValue) = 'real' THEN CAST(round(TrValue) AS INTEGER) ELSE TrValue END AS TrValue,
       CASE WHEN typeof(TrBalance) = 'real' THEN CAST(round(TrBalance) AS INTEGER) ELSE TrBalance END AS TrBalance,
       TrGrpType, TrGrpRow, TrGrpMDay, TrNotes, TrGrpId
  FROM Transactions ORDER BY TrRowId;
