-- The days between :first and :last that carry open deadlines of the sheet, one
-- row a day. Equality on TrDbId and TrDone lets it read only the covering index
-- TrDbIdDoneDate.
SELECT TrDate FROM Transactions WHERE TrDbId = :sheetId AND TrDone = 0 AND TrDate BETWEEN :first AND :last GROUP BY TrDate ORDER BY TrDate;
