-- Whether an open deadline of the sheet falls on or before :limit.
SELECT EXISTS (SELECT 1 FROM Transactions WHERE TrDbId = :sheetId AND TrDone = 0 AND TrDate <= :limit);
