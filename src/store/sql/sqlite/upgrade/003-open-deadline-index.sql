-- The calendar's bold days, the upcoming panel and the due check read the open
-- deadlines of one sheet by date through it, without visiting the closed ones.
CREATE INDEX IF NOT EXISTS TrDbIdDoneDate ON Transactions (TrDbId, TrDone, TrDate);
