-- A whole sheet as stored, in the order a recorded change keeps.
SELECT DbId, DbName FROM Dbs WHERE DbId = :id;
