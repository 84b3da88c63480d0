SELECT AcId, AcName, AcNotes FROM Accounts WHERE AcId = :id;
