-- Every list of clients and suppliers is in the one order of names (NameCollation).
SELECT AcId, AcName, AcNotes FROM Accounts ORDER BY AcName COLLATE "und-x-icu";
