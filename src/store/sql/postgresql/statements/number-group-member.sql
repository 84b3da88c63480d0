UPDATE Transactions SET TrGrpRow = :row, TrGrpMDay = :count WHERE TrRowId = :rowId;
