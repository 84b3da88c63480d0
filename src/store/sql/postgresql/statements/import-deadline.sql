-- One imported deadline with every column as the file gave it, its state and its
-- place in a recurrence included.
INSERT INTO Transactions (TrDbId, TrType, TrDone, TrDate, TrDescription, TrNotes, TrAcId, TrValue, TrBalance, TrGrpType,
                          TrGrpRow, TrGrpMDay, TrGrpId)
VALUES (:sheetId, :type, :done, :date, :description, :notes, :acId, :value, :balance, :groupType, :row, :count, :groupId)
RETURNING TrRowId;
