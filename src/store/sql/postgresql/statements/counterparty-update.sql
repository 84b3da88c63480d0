UPDATE Accounts SET AcName = :name, AcNotes = :notes WHERE AcId = :id;
