DELETE FROM Transactions WHERE TrGrpId = :groupId;
