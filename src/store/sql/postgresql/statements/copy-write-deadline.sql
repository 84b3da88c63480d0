INSERT INTO Transactions (TrRowId, TrDbId, TrType, TrDone, TrDate, TrDescription, TrAcId, TrValue, TrBalance,
                          TrGrpType, TrGrpRow, TrGrpMDay, TrNotes, TrGrpId)
  VALUES (:TrRowId, :TrDbId, :TrType, :TrDone, CAST(:TrDate AS date), :TrDescription, :TrAcId, :TrValue, :TrBalance,
          :TrGrpType, :TrGrpRow, :TrGrpMDay, :TrNotes, :TrGrpId);
