SELECT AcId, AcName, AcNotes FROM Accounts ORDER BY AcId;
