-- The deadlines of a report on one sheet. A condition whose switch (:anyState,
-- :anyType) is on, or whose value is NULL, selects every row. The order is that
-- of the index TrDbIdDoneDate (open before closed, then by date, then as
-- entered): the report sorts stably by its own keys, so this decides the order
-- of deadlines that share a day.
SELECT TrRowId, TrType, TrDone, TrDate, TrDescription, AcName, TrValue, TrBalance, TrGrpId, TrGrpRow, TrGrpMDay
FROM Transactions LEFT JOIN Accounts ON Transactions.TrAcId = Accounts.AcId
WHERE TrDbId = :sheetId
  AND (CAST(:anyState AS integer) <> 0 OR TrDone = :done)
  AND (CAST(:anyType AS integer) <> 0 OR TrType IN (:firstType, :secondType))
  AND (CAST(:periodFirst AS date) IS NULL OR TrDate BETWEEN :periodFirst AND :periodLast)
  AND (CAST(:counterpartyId AS integer) IS NULL OR TrAcId = :counterpartyId)
ORDER BY TrDone, TrDate, TrRowId;
