-- Runs before sheet-delete.sql, in the same transaction.
DELETE FROM Transactions WHERE TrDbId = :id;
