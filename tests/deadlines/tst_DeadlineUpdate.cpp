#include "DeadlineTestDb.h"

#include "deadlines/DeadlineUpdate.h"

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
        NewDeadlineRequest r = monthlyRent(QDate(2017, 1, 31), 1);
        r.recurring = false;
        r.values.notes = QStringLiteral("one\r\ntwo");
        m_db->save(r);   // row 1: a debit of 100
        m_c.open(m_db->connectionString());
    }

    void cleanup()
    {
        m_c.close();
        m_db.reset();
    }

    void writesOnlyChangedColumns()
    {
        DeadlineUpdate u = readRow(1);
        // Closed from the list while the editor is open.
        m_db->raw(QStringLiteral("UPDATE Transactions SET TrDone = 1 WHERE TrRowId = 1"));

        u.change(QStringLiteral("TrDescription"), QStringLiteral("Rent, flat 2"));
        u.change(QStringLiteral("TrDone"), false);            // as read: no change
        u.change(QStringLiteral("TrNotes"), QStringLiteral("one\r\ntwo"));
        u.change(QStringLiteral("TrValue"), QVariant::fromValue(Currency::fromWhole(80)));
        QCOMPARE(u.changedColumns(), (QStringList{"TrDescription", "TrValue"}));

        QCOMPARE(write(u), DeadlineUpdate::Outcome::Written);
        QCOMPARE(stored("TrDescription, TrDone, TrNotes, TrValue, TrBalance"),
                 (QStringList{"Rent, flat 2", "true", "one\r\ntwo", "800000", "-800000"}));
        QVERIFY(u.changedColumns().isEmpty());
        QCOMPARE(u.stored(QStringLiteral("TrDone")).toBool(), true);
    }

    void columnChangedMeanwhileIsNotOverwritten()
    {
        DeadlineUpdate u = readRow(1);
        m_db->raw(QStringLiteral("UPDATE Transactions SET TrDescription = 'Rent March', TrDone = 1 WHERE TrRowId = 1"));

        u.change(QStringLiteral("TrDescription"), QStringLiteral("Rent typo fixed"));
        u.change(QStringLiteral("TrDate"), QDate(2017, 2, 1));
        QCOMPARE(write(u), DeadlineUpdate::Outcome::Conflict);
        QCOMPARE(u.conflicts(), QStringList{QStringLiteral("TrDescription")});
        QCOMPARE(u.stored(QStringLiteral("TrDescription")).toString(), QStringLiteral("Rent March"));
        // Nothing was written, not even the column nobody else touched.
        QCOMPARE(stored("TrDescription, TrDate"), (QStringList{"Rent March", "2017-01-31"}));

        // Saved again, the remaining change goes in over the values now read.
        QCOMPARE(u.changedColumns(), QStringList{QStringLiteral("TrDate")});
        QCOMPARE(write(u), DeadlineUpdate::Outcome::Written);
        QCOMPARE(stored("TrDate, TrDescription, TrDone"), (QStringList{"2017-02-01", "Rent March", "true"}));
    }

    void deletedRowIsGone()
    {
        QVERIFY(!DeadlineUpdate::read(m_c, 99));
        DeadlineUpdate u = readRow(1);
        m_db->raw(QStringLiteral("DELETE FROM Transactions"));
        u.change(QStringLiteral("TrDone"), true);
        QCOMPARE(write(u), DeadlineUpdate::Outcome::Gone);
        QCOMPARE(firstValue(m_db->connectionString(), QStringLiteral("SELECT COUNT(*) FROM Transactions")).toInt(), 0);
    }

private:
    DeadlineUpdate readRow(qint32 rowId) { return *DeadlineUpdate::read(m_c, rowId); }
    DeadlineUpdate::Outcome write(DeadlineUpdate &u) { return u.write(m_c); }

    QStringList stored(const QString &columns) const { return rowFields(m_db->connectionString(), 1, columns); }

    std::unique_ptr<DeadlineTestDb> m_db;
    Connection m_c;
};

QTEST_GUILESS_MAIN(tst_DeadlineUpdate)
#include "tst_DeadlineUpdate.moc"
