-- Member :row of the :count members of a new recurrence.
INSERT INTO Transactions (TrDbId, TrType, TrDate, TrDescription, TrNotes, TrAcId, TrValue, TrBalance, TrGrpType, TrGrpRow,
                          TrGrpMDay, TrGrpId)
VALUES (:sheetId, :type, :date, :description, :notes, :acId, :value, :balance, :groupType, :row, :count, :groupId) RETURNING TrRowId;
