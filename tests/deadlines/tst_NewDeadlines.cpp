#include "DeadlineTestDb.h"

#include "deadlines/AmountText.h"
#include "store/DeadlineStore.h"

#include <QTest>

namespace {

// A group's members in date order as "date|type|place|size|group".
QStringList groupMembers(const QString &connectionString, int groupId)
{
    return tableRows(connectionString, QStringLiteral("TrDate, TrGrpType, TrGrpRow, TrGrpMDay, TrGrpId"),
                     QStringLiteral("TrGrpId=%1").arg(groupId), QStringLiteral("TrDate"));
}

} // namespace

class tst_NewDeadlines final : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_db = std::make_unique<DeadlineTestDb>();
        QVERIFY(m_db->ok());
    }

    void cleanup()
    {
        m_db.reset();
    }

    void singleDeadlineStandsOutsideAnyGroup()
    {
        DeadlineStore::NewDeadlines d;
        d.sheetId = 3;
        d.type = -1;
        // Apostrophes at the start, inside and at the end come back unchanged.
        d.description = QStringLiteral("L'affitto dell'ufficio");
        d.notes = QStringLiteral("'Call O'Brien'\nsecond line");
        d.acId = 5;
        d.value = AmountText::parse(QStringLiteral("12,50"), QLocale(QLocale::Italian, QLocale::Italy)).value();
        d.dates = {QDate(2017, 4, 3)};
        // No client/supplier 5 (deleted while the window was open): nothing is written.
        QVERIFY(m_db->save(d).rowIds.isEmpty());
        QCOMPARE(firstValue(m_db->connectionString(), QStringLiteral("SELECT Count(TrRowId) FROM Transactions")).toInt(), 0);
        m_db->raw(QStringLiteral("INSERT INTO Accounts (AcId, AcName) VALUES (5, 'Rossi')"));
        m_db->raw(QStringLiteral("INSERT INTO Transactions (TrDbId) VALUES (1)"));
        const DeadlineStore::CreatedDeadlines created = m_db->save(d);
        QCOMPARE(created.rowIds, QList<qint32>{2});
        QCOMPARE(created.touched, QList<qint32>{2});

        QCOMPARE(rowFields(m_db->connectionString(), 2, "TrDbId, TrDescription, TrNotes, TrDate, TrAcId, TrValue, TrBalance, "
                                                         "TrGrpType, TrGrpId, TrDone"),
                 (QStringList{"3", d.description, d.notes, "2017-04-03", "5", "125000", "-125000", "n", "0", "0"}));
        const std::optional<DeadlineStore::StoredDeadline> read = DeadlineStore(m_db->connectionString()).readDeadline(2);
        QVERIFY(read);
        QCOMPARE((QVariantList{read->rowId, read->sheetId, read->type, read->done, read->date, read->description,
                               read->acId, read->value.units(), read->balance.units(), read->groupType, read->groupId,
                               read->notes}),
                 (QVariantList{2, 3, -1, false, QDate(2017, 4, 3), d.description, 5, 125000, -125000, "n", 0, d.notes}));
        QVERIFY(!DeadlineStore(m_db->connectionString()).readDeadline(3));
    }

    void recurrenceGainsAndLosesMembers()
    {
        m_db->save(rent(QDate(2017, 1, 31), 4));
        // A single deadline added to the group takes its place by date.
        m_db->save(rent(QDate(2017, 3, 1), 0, 1));
        const QStringList members = groupMembers(m_db->connectionString(), 1);
        QCOMPARE(members.size(), 5);
        QCOMPARE(members[2], "2017-03-01|n|3|5|1");
        QCOMPARE(members[4], "2017-04-30|m|5|5|1");

        // Reduced to one member, the group reads 1 of 1.
        m_db->raw(QStringLiteral("DELETE FROM Transactions WHERE TrGrpRow <> 2"));
        Connection c;
        c.open(m_db->connectionString());
        DeadlineStore(c).renumberGroup(1);
        c.close();
        QCOMPARE(groupMembers(m_db->connectionString(), 1), QStringList{"2017-02-28|m|1|1|1"});
    }

    void groupIdsAreUniqueAcrossSheets()
    {
        QCOMPARE(m_db->save(rent(QDate(2017, 1, 1), 2)).rowIds, (QList<qint32>{1, 2}));
        QCOMPARE(groupMembers(m_db->connectionString(), 1).size(), 2);

        // A higher id in another sheet still counts.
        m_db->raw(QStringLiteral("INSERT INTO Transactions (TrDbId, TrType, TrGrpType, TrGrpId) VALUES (2, 1, 'w', 41)"));
        m_db->save(rent(QDate(2017, 1, 1), 2));
        QCOMPARE(groupMembers(m_db->connectionString(), 42).size(), 2);

        Connection c;
        c.open(m_db->connectionString());
        QCOMPARE(DeadlineStore(c).nextGroupId(), 43);
    }

    void addingToAGroupRenumbersItByDate()
    {
        // A weekly group of 4 from 10 January, then 3 monthly members from 31 December
        // of the year before and later, interleaving by date.
        m_db->save(rent(QDate(2017, 1, 10), 4, 0, 1));
        const DeadlineStore::CreatedDeadlines added = m_db->save(rent(QDate(2016, 12, 31), 3, 1));
        // The new rows in date order; every member of the group was renumbered.
        QCOMPARE(added.rowIds, (QList<qint32>{5, 6, 7}));
        QCOMPARE(added.touched, (QList<qint32>{5, 1, 2, 3, 4, 6, 7}));

        // Members on the same day may come in either order, so the type is counted apart.
        QCOMPARE(tableRows(m_db->connectionString(), "TrDate, TrGrpRow, TrGrpMDay", "TrGrpId=1", "TrGrpRow"),
                 (QStringList{"2016-12-31|1|7", "2017-01-10|2|7", "2017-01-17|3|7", "2017-01-24|4|7", "2017-01-31|5|7",
                              "2017-01-31|6|7", "2017-02-28|7|7"}));
        QCOMPARE(tableRows(m_db->connectionString(), "TrRowId", "TrGrpId=1 AND TrGrpType='m'").size(), 3);
    }

    void failureInsideARecurrenceLeavesNothing()
    {
        // The engine refuses member 125, after 124 inserts went through.
        m_db->raw(QStringLiteral("CREATE TRIGGER refuse_member BEFORE INSERT ON Transactions WHEN NEW.TrGrpRow = 125 "
                                 "BEGIN SELECT RAISE(ABORT, 'disk full'); END"));
        const DeadlineStore::NewDeadlines daily = rent(QDate(2017, 1, 1), 250, 0, 0);
        QVERIFY_THROWS_EXCEPTION(DbError, m_db->save(daily));
        QCOMPARE(firstValue(m_db->connectionString(), QStringLiteral("SELECT Count(TrRowId) AS n FROM Transactions")).toInt(), 0);

        // Without the refusal the same 250 members go in as one batch.
        m_db->raw(QStringLiteral("DROP TRIGGER refuse_member"));
        m_db->save(daily);
        QCOMPARE(groupMembers(m_db->connectionString(), 1).last(), "2017-09-07|d|250|250|1");
        m_db->raw(QStringLiteral("DELETE FROM Transactions"));

        // The same failure while extending a group keeps the group as it was.
        m_db->save(rent(QDate(2017, 1, 31), 4));
        m_db->raw(QStringLiteral("CREATE TRIGGER refuse_member BEFORE INSERT ON Transactions WHEN NEW.TrGrpRow = 2 "
                                 "BEGIN SELECT RAISE(ABORT, 'disk full'); END"));
        QVERIFY_THROWS_EXCEPTION(DbError, m_db->save(rent(QDate(2017, 6, 1), 3, 1)));
        QCOMPARE(groupMembers(m_db->connectionString(), 1),
                 (QStringList{"2017-01-31|m|1|4|1", "2017-02-28|m|2|4|1", "2017-03-31|m|3|4|1", "2017-04-30|m|4|4|1"}));
    }

    // The editor's save against a row that others change while it is open.
    void writesOnlyChangedColumns()
    {
        const DeadlineStore::StoredDeadline read = savedForEditing();
        // Closed from the list while the editor is open.
        m_db->raw(QStringLiteral("UPDATE Transactions SET TrDone = 1 WHERE TrRowId = 1"));

        DeadlineStore::DeadlineChanges changes;
        changes.description = QStringLiteral("Rent, flat 2");
        changes.done = false;                          // as read: no change
        changes.notes = QStringLiteral("one\r\ntwo");
        changes.value = Currency::fromWhole(80);
        QCOMPARE(store().updateDeadline(read, changes).outcome, DeadlineStore::UpdateOutcome::Written);
        QCOMPARE(rowFields(m_db->connectionString(), 1, "TrDescription, TrDone, TrNotes, TrValue, TrBalance"),
                 (QStringList{"Rent, flat 2", "1", "one\r\ntwo", "800000", "-800000"}));
    }

    void columnChangedMeanwhileIsNotOverwritten()
    {
        const DeadlineStore::StoredDeadline read = savedForEditing();
        m_db->raw(QStringLiteral("UPDATE Transactions SET TrDescription = 'Rent March', TrDone = 1 WHERE TrRowId = 1"));

        DeadlineStore::DeadlineChanges changes;
        changes.description = QStringLiteral("Rent typo fixed");
        changes.date = QDate(2017, 2, 1);
        const DeadlineStore::UpdateResult result = store().updateDeadline(read, changes);
        QCOMPARE(result.outcome, DeadlineStore::UpdateOutcome::Conflict);
        QCOMPARE(result.conflicts, QList<DeadlineStore::EditedColumn>{DeadlineStore::EditedColumn::Description});
        QCOMPARE(result.now.description, QStringLiteral("Rent March"));
        QVERIFY(result.now.done);
        // Nothing was written, not even the column nobody else touched.
        QCOMPARE(rowFields(m_db->connectionString(), 1, "TrDescription, TrDate"), (QStringList{"Rent March", "2017-01-31"}));

        // Saved again over the values now read, the remaining change goes in.
        changes.description.reset();
        QCOMPARE(store().updateDeadline(result.now, changes).outcome, DeadlineStore::UpdateOutcome::Written);
        QCOMPARE(rowFields(m_db->connectionString(), 1, "TrDate, TrDescription, TrDone"), (QStringList{"2017-02-01", "Rent March", "1"}));
    }

    void goneRowOrClientWritesNothing()
    {
        const DeadlineStore::StoredDeadline read = savedForEditing();
        DeadlineStore::DeadlineChanges changes;
        changes.acId = 5;   // a client deleted while the editor was open
        changes.done = true;
        QCOMPARE(store().updateDeadline(read, changes).outcome, DeadlineStore::UpdateOutcome::CounterpartyGone);
        QCOMPARE(rowFields(m_db->connectionString(), 1, "TrAcId, TrDone"), (QStringList{"0", "0"}));

        m_db->raw(QStringLiteral("DELETE FROM Transactions"));
        QCOMPARE(store().updateDeadline(read, changes).outcome, DeadlineStore::UpdateOutcome::Gone);
        QCOMPARE(firstValue(m_db->connectionString(), QStringLiteral("SELECT COUNT(*) FROM Transactions")).toInt(), 0);
    }

private:
    // Row 1, a debit of 100 with a note of two lines, as the editor reads it on opening.
    DeadlineStore::StoredDeadline savedForEditing()
    {
        DeadlineStore::NewDeadlines d = rent(QDate(2017, 1, 31), 0);
        d.notes = QStringLiteral("one\r\ntwo");
        m_db->save(d);
        return *store().readDeadline(1);
    }
    DeadlineStore store() const { return DeadlineStore(m_db->connectionString()); }

    std::unique_ptr<DeadlineTestDb> m_db;
};

QTEST_GUILESS_MAIN(tst_NewDeadlines)
#include "tst_NewDeadlines.moc"
