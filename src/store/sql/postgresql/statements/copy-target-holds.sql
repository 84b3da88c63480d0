-- What a target register holds that a copy would overwrite.
SELECT (SELECT COUNT(*) FROM Transactions) + (SELECT COUNT(*) FROM Accounts);
