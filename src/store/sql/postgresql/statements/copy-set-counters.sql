-- The ids were copied as they were: the register's counters go on past the
-- highest of them, so that the next deadline, client, recurrence group or sheet
-- a desk creates takes a new one.
SELECT setval(pg_get_serial_sequence('transactions', 'trrowid'), COALESCE((SELECT MAX(TrRowId) FROM Transactions), 0) + 1, false),
       setval(pg_get_serial_sequence('accounts', 'acid'), COALESCE((SELECT MAX(AcId) FROM Accounts), 0) + 1, false),
       setval('trgrpid_seq', COALESCE((SELECT MAX(TrGrpId) FROM Transactions), 0) + 1, false),
       setval('dbid_seq', COALESCE((SELECT MAX(DbId) FROM Dbs), 0) + 1, false);
