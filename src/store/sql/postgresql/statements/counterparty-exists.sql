SELECT 1 FROM Accounts WHERE AcId = :id;
