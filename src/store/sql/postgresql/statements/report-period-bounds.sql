-- Where a report's period pickers start: the first and last date of every sheet.
SELECT MIN(TrDate), MAX(TrDate) FROM Transactions;
