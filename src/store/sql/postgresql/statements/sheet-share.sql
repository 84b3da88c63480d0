-- How many deadlines a sheet holds, counted up to :limit: past a fifth of the
-- table (deadline-count) the plan of list-sheet is known, so a large sheet is
-- not walked to its end just to be counted.
SELECT COUNT(*) FROM (SELECT 1 FROM Transactions WHERE TrDbId = :sheetId LIMIT :limit) AS sheet;
