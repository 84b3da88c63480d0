-- A recorded deadline written back under its own id.
INSERT INTO Transactions (TrRowId, TrDbId, TrType, TrDone, TrDate, TrDescription, TrAcId, TrValue, TrBalance, TrGrpType, TrGrpRow, TrGrpMDay, TrNotes, TrGrpId)
VALUES (:rowId, :sheetId, :type, :done, :date, :description, :acId, :value, :balance, :groupType, :groupRow,
        :groupSize, :notes, :groupId);
