-- Every list of clients and suppliers in one order of names: the server's
-- language-neutral ICU order (a file uses the desk's locale, NameCollation).
SELECT AcId, AcName, AcNotes FROM Accounts ORDER BY AcName COLLATE "und-x-icu";
