-- Every deadline of every sheet.
SELECT COUNT(*) FROM Transactions;
