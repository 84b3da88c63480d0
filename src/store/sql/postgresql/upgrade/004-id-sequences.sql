-- Sheet ids come from a sequence, as the recurrence groups' do, instead of the
-- highest id + 1, which two desks creating a sheet at once would both take.
-- Each counter is moved past the ids the register already holds (rows copied in
-- under their own ids); one already further on stays where it is.
CREATE SEQUENCE IF NOT EXISTS dbid_seq AS integer OWNED BY Dbs.DbId;
SELECT setval('dbid_seq', GREATEST(COALESCE(max(DbId), 0) + 1,
                                   (SELECT CASE WHEN is_called THEN last_value + 1 ELSE last_value END FROM dbid_seq)), false)
  FROM Dbs;
SELECT setval('trgrpid_seq', GREATEST(COALESCE(max(TrGrpId), 0) + 1,
                                      (SELECT CASE WHEN is_called THEN last_value + 1 ELSE last_value END FROM trgrpid_seq)), false)
  FROM Transactions;
SELECT setval(pg_get_serial_sequence('accounts', 'acid'),
              GREATEST(COALESCE(max(AcId), 0) + 1,
                       (SELECT CASE WHEN is_called THEN last_value + 1 ELSE last_value END FROM accounts_acid_seq)), false)
  FROM Accounts;
SELECT setval(pg_get_serial_sequence('transactions', 'trrowid'),
              GREATEST(COALESCE(max(TrRowId), 0) + 1,
                       (SELECT CASE WHEN is_called THEN last_value + 1 ELSE last_value END FROM transactions_trrowid_seq)), false)
  FROM Transactions;
