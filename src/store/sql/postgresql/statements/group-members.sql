-- The members of a recurrence by date, whatever their sheet; the row id keeps
-- members of the same day in a fixed order.
SELECT TrRowId FROM Transactions WHERE TrGrpId = :groupId ORDER BY TrDate, TrRowId;
