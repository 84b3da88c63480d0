INSERT INTO Dbs (DbId, DbName) VALUES (:id, :name);
