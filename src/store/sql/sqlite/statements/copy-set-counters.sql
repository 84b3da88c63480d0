-- A file's counters (sqlite_sequence) follow the highest id inserted by themselves.
SELECT COUNT(*) FROM sqlite_sequence;
