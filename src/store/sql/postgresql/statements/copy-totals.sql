-- Counts and sums of every column of every table, compared between the two
-- sides of a copy; the same columns, in the same order, on each engine. An
-- amount is summed in two parts (above and below 10^10 ten-thousandths) so that
-- no sum leaves 64 bits.
SELECT COUNT(*), COALESCE(SUM(TrRowId), 0), COALESCE(SUM(TrDbId), 0), COALESCE(SUM(TrType), 0),
       COALESCE(SUM(TrDone), 0), COUNT(TrDate), COALESCE(SUM(TrDate - DATE '2000-01-01'), 0),
       COALESCE(SUM(length(TrDescription)), 0), COALESCE(SUM(TrAcId), 0),
       COALESCE(SUM(TrValue / 10000000000), 0)::bigint, COALESCE(SUM(TrValue % 10000000000), 0)::bigint,
       COALESCE(SUM(TrBalance / 10000000000), 0)::bigint, COALESCE(SUM(TrBalance % 10000000000), 0)::bigint,
       COALESCE(SUM(length(TrGrpType)), 0), COALESCE(SUM(TrGrpRow), 0), COALESCE(SUM(TrGrpMDay), 0),
       COALESCE(SUM(length(TrNotes)), 0), COALESCE(SUM(TrGrpId), 0),
       (SELECT COUNT(*) FROM Accounts), (SELECT COALESCE(SUM(AcId), 0) FROM Accounts),
       (SELECT COALESCE(SUM(length(AcName)), 0) FROM Accounts), (SELECT COALESCE(SUM(length(AcNotes)), 0) FROM Accounts),
       (SELECT COUNT(*) FROM Dbs), (SELECT COALESCE(SUM(DbId), 0) FROM Dbs),
       (SELECT COALESCE(SUM(length(DbName)), 0) FROM Dbs)
  FROM Transactions;
