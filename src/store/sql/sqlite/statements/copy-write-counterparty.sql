INSERT INTO Accounts (AcId, AcName, AcNotes) VALUES (:AcId, :AcName, :AcNotes);
