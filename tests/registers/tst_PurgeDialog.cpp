#include "RegisterTestDb.h"

#include "deadlines/ClosedDeadlinePurge.h"
#include "deadlines/PurgeDialog.h"
#include "platform/Clock.h"
#include "../deadlines/RecordingListHost.h"

#include "platform/DateBox.h"

// The purge of closed deadlines: the date is inclusive, only closed deadlines of
// the active sheet go, and No leaves everything as it was.
class tst_PurgeDialog final : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void purgesClosedOfActiveSheetUpToTheDay();
    void answeringNoKeepsEverything();

private:
    QStringList remaining() const;

    std::unique_ptr<RegisterTestDb> m_t;
    RecordingListHost m_host;
};

void tst_PurgeDialog::init()
{
    m_t = std::make_unique<RegisterTestDb>();
    QVERIFY(m_t->db.ok());
    Clock::pin(QDate(2024, 3, 1));
    m_t->db.session().setActiveSheet(2, QStringLiteral("Office"));
    m_host.calls.clear();
    const QString cs = m_t->cs();
    const Currency ten = Currency::fromWhole(10);
    insertDeadline(cs, 2, 1, true, QDate(2024, 2, 28), QStringLiteral("closed before"), 0, ten);
    insertDeadline(cs, 2, -1, true, QDate(2024, 2, 29), QStringLiteral("closed on the day"), 0, ten, {}, 5, 1, 2);
    insertDeadline(cs, 2, -1, true, QDate(2024, 3, 1), QStringLiteral("closed after"), 0, ten, {}, 5, 2, 2);
    insertDeadline(cs, 2, -2, false, QDate(2023, 1, 1), QStringLiteral("open long ago"), 0, Currency());
    insertDeadline(cs, 1, 1, true, QDate(2023, 1, 1), QStringLiteral("other sheet"), 0, ten);
}

void tst_PurgeDialog::cleanup()
{
    Clock::pin(QDate());
    m_t.reset();
}

QStringList tst_PurgeDialog::remaining() const
{
    QStringList out;
    Recordset rs;
    rs.open(QStringLiteral("SELECT TrDescription, TrGrpRow, TrGrpMDay FROM Transactions ORDER BY TrRowId"), m_t->cs());
    for (; !rs.eof(); rs.moveNext())
        out << QStringLiteral("%1 %2/%3").arg(rs.field(0).toString()).arg(rs.field(1).toInt()).arg(rs.field(2).toInt());
    return out;
}

void tst_PurgeDialog::purgesClosedOfActiveSheetUpToTheDay()
{
    PurgeDialog dialog(m_host, m_t->db.session());
    // Yesterday of 1 March in a leap year.
    QCOMPARE(dialog.datePicker()->date(), QDate(2024, 2, 29));
    m_t->prompts.queueAnswer(Prompt::Answer::Yes);
    clickButton(&dialog, QStringLiteral("continueButton"));
    QCOMPARE(m_t->prompts.shownTexts(),
             (QStringList{QStringLiteral("There are 2 Deadlines to delete.\r\nConfirm?"), Texts::text(1309)}));
    // The surviving group member keeps its position and size.
    QCOMPARE(remaining(), (QStringList{"closed after 2/2", "open long ago 0/0", "other sheet 0/0"}));
    QCOMPARE(m_host.calls, (QStringList{"refreshList 3", "markBusyDays", "refreshUpcoming 2017-04-01 2017-04-30",
                                        "updateStatus", "updateEmptyListPanel"}));
    QCOMPARE(dialog.result(), int(QDialog::Accepted));

    // Nothing left to purge is no error: a count of 0, still done.
    QCOMPARE(ClosedDeadlinePurge::count(m_t->cs(), 2, QDate(2024, 2, 29)), 0);
}

void tst_PurgeDialog::answeringNoKeepsEverything()
{
    const QStringList before = remaining();
    PurgeDialog dialog(m_host, m_t->db.session());
    dialog.datePicker()->setDate(QDate(2030, 1, 1));
    m_t->prompts.queueAnswer(Prompt::Answer::No);
    dialog.proceed();
    QCOMPARE(m_t->prompts.shownTexts(),
             (QStringList{QStringLiteral("There are 3 Deadlines to delete.\r\nConfirm?"), Texts::text(1323)}));
    QCOMPARE(remaining(), before);
    QVERIFY(m_host.calls.isEmpty());
}

QTEST_MAIN(tst_PurgeDialog)
#include "tst_PurgeDialog.moc"
