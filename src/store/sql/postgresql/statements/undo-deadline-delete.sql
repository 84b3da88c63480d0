DELETE FROM Transactions WHERE TrRowId = :id;
