-- Files of the older release have no recurrence groups: every deadline stands
-- alone (0). A file that already has the column keeps it as it is.
ALTER TABLE Transactions ADD COLUMN TrGrpId INTEGER DEFAULT 0;
UPDATE Transactions SET TrGrpId = 0 WHERE TrGrpId IS NULL;
