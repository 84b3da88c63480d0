-- Counts and sums of every column of every table, compared between the two
-- sides of a copy; the same columns, in the same order, on each engine. An
-- amount is summed in two parts (above and below 10^10 ten-thousandths) so that
-- no sum leaves 64 bits; amounts and dates are taken as the copy reads them.
SELECT COUNT(*), COALESCE(SUM(TrRowId), 0), COALESCE(SUM(TrDbId), 0), COALESCE(SUM(TrType), 0),
       COALESCE(SUM(TrDone), 0), COUNT(TrDate),
       COALESCE(SUM(CAST(julianday(substr(TrDate, 1, 10)) - 2451544.5 AS INTEGER)), 0),
       COALESCE(SUM(length(TrDescription)), 0), COALESCE(SUM(TrAcId), 0),
       COALESCE(SUM(Value / 10000000000), 0), COALESCE(SUM(Value % 10000000000), 0),
       COALESCE(SUM(Balance / 10000000000), 0), COALESCE(SUM(Balance % 10000000000), 0),
       COALESCE(SUM(length(TrGrpType)), 0), COALESCE(SUM(TrGrpRow), 0), COALESCE(SUM(TrGrpMDay), 0),
       COALESCE(SUM(length(TrNotes)), 0), COALESCE(SUM(TrGrpId), 0),
       (SELECT COUNT(*) FROM Accounts), (SELECT COALESCE(SUM(AcId), 0) FROM Accounts),
       (SELECT COALESCE(SUM(length(AcName)), 0) FROM Accounts), (SELECT COALESCE(SUM(length(AcNotes)), 0) FROM Accounts),
       (SELECT COUNT(*) FROM Dbs), (SELECT COALESCE(SUM(DbId), 0) FROM Dbs),
       (SELECT COALESCE(SUM(length(DbName)), 0) FROM Dbs)
  FROM (SELECT *, CASE WHEN typeof(TrValue) = 'real' THEN CAST(round(TrValue) AS INTEGER) ELSE TrValue END AS Value,
               CASE WHEN typeof(TrBalance) = 'real' THEN CAST(round(TrBalance) AS INTEGER) ELSE TrBalance END AS Balance
          FROM Transactions);
