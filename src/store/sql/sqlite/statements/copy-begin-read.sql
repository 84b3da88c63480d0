-- Run before the copy's transaction begins: the original is only read. Within
-- the transaction the file's shared lock, taken by the first read and held to
-- the end, keeps every writer out while its tables are read and counted.
PRAGMA query_only = 1;
