-- A recorded client/supplier written back under its own id.
INSERT INTO Accounts (AcId, AcName, AcNotes) VALUES (:id, :name, :notes);
