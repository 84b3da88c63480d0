DELETE FROM Accounts WHERE AcId = :id;
