-- The open credits and debits of one sheet with their client or supplier, for the
-- aging per client/supplier. Closed deadlines and appointments weigh nothing there,
-- so they are not read; the index TrDbIdDoneDate finds the open rows.
SELECT TrType, TrDate, TrBalance, Accounts.AcId, AcName
FROM Transactions LEFT JOIN Accounts ON Transactions.TrAcId = Accounts.AcId
WHERE TrDbId = :sheetId AND TrDone = 0 AND TrType IN (1, -1);
