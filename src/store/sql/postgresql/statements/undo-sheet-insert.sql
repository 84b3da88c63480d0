-- A recorded sheet written back under its own id.
INSERT INTO Dbs (DbId, DbName) VALUES (:id, :name);
