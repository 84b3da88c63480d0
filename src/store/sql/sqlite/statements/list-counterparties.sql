-- Every client and supplier, for the list's rows to name: what list-sheet leaves out.
SELECT AcId, AcName, AcNotes FROM Accounts;
