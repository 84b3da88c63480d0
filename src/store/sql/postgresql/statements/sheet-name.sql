SELECT DbName FROM Dbs WHERE DbId = :id;
