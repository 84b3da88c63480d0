DELETE FROM Transactions WHERE TrRowId = :rowId;
