-- No TrDbId condition: a client or supplier is shared by every sheet.
SELECT 1 FROM Accounts INNER JOIN Transactions ON Accounts.AcId = Transactions.TrAcId WHERE Accounts.AcId = :id LIMIT 1;
