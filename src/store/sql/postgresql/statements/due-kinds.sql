-- The three kinds of due open deadlines of the sheet: before :today, on :today,
-- and from :tomorrow to :upcomingLast (none when :upcomingLast is :today).
SELECT EXISTS (SELECT 1 FROM Transactions WHERE TrDbId = :sheetId AND TrDone = 0 AND TrDate < :today),
       EXISTS (SELECT 1 FROM Transactions WHERE TrDbId = :sheetId AND TrDone = 0 AND TrDate = :today),
       EXISTS (SELECT 1 FROM Transactions WHERE TrDbId = :sheetId AND TrDone = 0 AND TrDate BETWEEN :tomorrow AND :upcomingLast);
