-- AcId comes from the table's counter, so an id once deleted is never handed out again.
INSERT INTO Accounts (AcName, AcNotes) VALUES (:name, :notes) RETURNING AcId;
