#include "DeadlineTestDb.h"

#include <QTest>

// The editor's save against a row that others change while it is open.
class tst_DeadlineUpdate final : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_db = std::make_unique<DeadlineTestDb>();
        QVERIFY(m_db->ok());
        DeadlineStore::NewDeadlines d = rent(QDate(2017, 1, 31), 0);
        d.notes = QStringLiteral("one\r\ntwo");
        m_db->save(d);   // row 1: a debit of 100
        m_store = std::make_unique<DeadlineStore>(m_db->connectionString());
    }

    void cleanup()
    {
        m_store.reset();
        m_db.reset();
    }

    void writesOnlyChangedColumns()
    {
        const DeadlineStore::StoredDeadline read = *m_store->readDeadline(1);
        // Closed from the list while the editor is open.
        m_db->raw(QStringLiteral("UPDATE Transactions SET TrDone = 1 WHERE TrRowId = 1"));

        DeadlineStore::DeadlineChanges changes;
        changes.description = QStringLiteral("Rent, flat 2");
        changes.done = false;                          // as read: no change
        changes.notes = QStringLiteral("one\r\ntwo");
        changes.value = Currency::fromWhole(80);
        QCOMPARE(m_store->updateDeadline(read, changes).outcome, DeadlineStore::UpdateOutcome::Written);
        QCOMPARE(stored("TrDescription, TrDone, TrNotes, TrValue, TrBalance"),
                 (QStringList{"Rent, flat 2", "1", "one\r\ntwo", "800000", "-800000"}));
    }

    void columnChangedMeanwhileIsNotOverwritten()
    {
        const DeadlineStore::StoredDeadline read = *m_store->readDeadline(1);
        m_db->raw(QStringLiteral("UPDATE Transactions SET TrDescription = 'Rent March', TrDone = 1 WHERE TrRowId = 1"));

        DeadlineStore::DeadlineChanges changes;
        changes.description = QStringLiteral("Rent typo fixed");
        changes.date = QDate(2017, 2, 1);
        const DeadlineStore::UpdateResult result = m_store->updateDeadline(read, changes);
        QCOMPARE(result.outcome, DeadlineStore::UpdateOutcome::Conflict);
        QCOMPARE(result.conflicts, QList<DeadlineStore::EditedColumn>{DeadlineStore::EditedColumn::Description});
        QCOMPARE(result.now.description, QStringLiteral("Rent March"));
        QVERIFY(result.now.done);
        // Nothing was written, not even the column nobody else touched.
        QCOMPARE(stored("TrDescription, TrDate"), (QStringList{"Rent March", "2017-01-31"}));

        // Saved again over the values now read, the remaining change goes in.
        changes.description.reset();
        QCOMPARE(m_store->updateDeadline(result.now, changes).outcome, DeadlineStore::UpdateOutcome::Written);
        QCOMPARE(stored("TrDate, TrDescription, TrDone"), (QStringList{"2017-02-01", "Rent March", "1"}));
    }

    void goneRowOrClientWritesNothing()
    {
        const DeadlineStore::StoredDeadline read = *m_store->readDeadline(1);
        DeadlineStore::DeadlineChanges changes;
        changes.acId = 5;   // a client deleted while the editor was open
        changes.done = true;
        QCOMPARE(m_store->updateDeadline(read, changes).outcome, DeadlineStore::UpdateOutcome::CounterpartyGone);
        QCOMPARE(stored("TrAcId, TrDone"), (QStringList{"0", "0"}));

        m_db->raw(QStringLiteral("DELETE FROM Transactions"));
        QCOMPARE(m_store->updateDeadline(read, changes).outcome, DeadlineStore::UpdateOutcome::Gone);
        QCOMPARE(firstValue(m_db->connectionString(), QStringLiteral("SELECT COUNT(*) FROM Transactions")).toInt(), 0);
    }

private:
    QStringList stored(const QString &columns) const { return rowFields(m_db->connectionString(), 1, columns); }

    std::unique_ptr<DeadlineTestDb> m_db;
    std::unique_ptr<DeadlineStore> m_store;
};

QTEST_GUILESS_MAIN(tst_DeadlineUpdate)
#include "tst_DeadlineUpdate.moc"
