-- Space on the list: a closed deadline opens again, an open one closes.
UPDATE Transactions SET TrDone = NOT TrDone WHERE TrRowId = :rowId;
