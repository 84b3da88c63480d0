-- The editor's save: a column is written only when its :set flag is 1, so what
-- another writer changed in the others since the editor read the row stays.
UPDATE Transactions SET
  TrDate = CASE WHEN :setDate THEN :date ELSE TrDate END,
  TrDescription = CASE WHEN :setDescription THEN :description ELSE TrDescription END,
  TrAcId = CASE WHEN :setAcId THEN :acId ELSE TrAcId END,
  TrValue = CASE WHEN :setValue THEN :value ELSE TrValue END,
  TrBalance = CASE WHEN :setBalance THEN :balance ELSE TrBalance END,
  TrNotes = CASE WHEN :setNotes THEN :notes ELSE TrNotes END,
  TrDone = CASE WHEN :setDone THEN :done ELSE TrDone END
WHERE TrRowId = :rowId;
