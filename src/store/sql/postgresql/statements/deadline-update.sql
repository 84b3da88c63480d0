-- The editor's save: a column is written only when its :set flag is 1, so what
-- another writer changed in the others since the editor read the row stays.
UPDATE Transactions SET
  TrDate = CASE WHEN CAST(:setDate AS integer) <> 0 THEN :date ELSE TrDate END,
  TrDescription = CASE WHEN CAST(:setDescription AS integer) <> 0 THEN :description ELSE TrDescription END,
  TrAcId = CASE WHEN CAST(:setAcId AS integer) <> 0 THEN :acId ELSE TrAcId END,
  TrValue = CASE WHEN CAST(:setValue AS integer) <> 0 THEN :value ELSE TrValue END,
  TrBalance = CASE WHEN CAST(:setBalance AS integer) <> 0 THEN :balance ELSE TrBalance END,
  TrNotes = CASE WHEN CAST(:setNotes AS integer) <> 0 THEN :notes ELSE TrNotes END,
  TrDone = CASE WHEN CAST(:setDone AS integer) <> 0 THEN :done ELSE TrDone END
WHERE TrRowId = :rowId;
