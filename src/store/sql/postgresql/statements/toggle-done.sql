-- Space on the list: a closed deadline opens again, an open one closes.
UPDATE Transactions SET TrDone = 1 - TrDone WHERE TrRowId = :rowId;
