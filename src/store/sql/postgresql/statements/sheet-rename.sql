UPDATE Dbs SET DbName = :name WHERE DbId = :id;
