-- Unique across every sheet: one above the highest id in the whole table.
SELECT COALESCE(MAX(TrGrpId), 0) + 1 FROM Transactions;
