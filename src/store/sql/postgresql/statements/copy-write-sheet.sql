INSERT INTO Dbs (DbId, DbName) VALUES (:DbId, :DbName);
