-- Every list of clients and suppliers in one order of names, as a file orders
-- them: the language-neutral ICU order with case ignored ("ab" before "AC"),
-- then, between names that differ only in case, capitals first ("Rossi" before "rossi").
SELECT AcId, AcName, AcNotes FROM Accounts ORDER BY lower(AcName) COLLATE "und-x-icu", AcName COLLATE "C";
