-- Run before the copy's transaction begins: the new file is written with full
-- syncs, as every register is, so that a crash leaves no half-written file.
PRAGMA synchronous = FULL;
