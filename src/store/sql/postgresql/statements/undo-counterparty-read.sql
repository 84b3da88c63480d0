-- A whole client/supplier as stored, in the order a recorded change keeps.
SELECT AcId, AcName, AcNotes FROM Accounts WHERE AcId = :id;
