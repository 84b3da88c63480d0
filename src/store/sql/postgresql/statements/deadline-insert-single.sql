-- A deadline outside any recurrence, or one joining a group: TrGrpRow and
-- TrGrpMDay keep the table's defaults until the group is numbered again.
INSERT INTO Transactions (TrDbId, TrType, TrDate, TrDescription, TrNotes, TrAcId, TrValue, TrBalance, TrGrpType, TrGrpId)
VALUES (:sheetId, :type, :date, :description, :notes, :acId, :value, :balance, :groupType, :groupId) RETURNING TrRowId;
