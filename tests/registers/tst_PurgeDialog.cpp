#include "RegisterTestDb.h"

#include "deadlines/PurgeDialog.h"
#include "platform/Clock.h"
#include "store/DeadlineStore.h"
#include "../support/Announcements.h"

#include "platform/DateBox.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QClipboard>
#include <QGuiApplication>

// The purge of closed deadlines: the date is inclusive, only closed deadlines of
// the active sheet go, No leaves everything as it was, and the date used is the
// one the box shows however the typing ended.
class tst_PurgeDialog final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void purgesClosedOfActiveSheetUpToTheDayOnlyOnYes();
    void typedDateIsTheOneUsed_data();
    void typedDateIsTheOneUsed();

private:
    QStringList remaining() const;

    std::unique_ptr<RegisterTestDb> m_t;
    std::unique_ptr<Announcements> m_announced;
};

void tst_PurgeDialog::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
}

void tst_PurgeDialog::init()
{
    m_t = std::make_unique<RegisterTestDb>();
    QVERIFY(m_t->db.ok());
    Clock::pin(QDate(2024, 3, 1));
    m_t->db.session().setActiveSheet(2, QStringLiteral("Office"));
    m_announced = std::make_unique<Announcements>(m_t->db.session().deadlineRegister());
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
    m_announced.reset();
    m_t.reset();
}

QStringList tst_PurgeDialog::remaining() const
{
    QStringList out;
    Connection c;
    c.open(m_t->cs());
    QSqlQuery query(c.database());
    query.exec(QStringLiteral("SELECT TrDescription, TrGrpRow, TrGrpMDay FROM Transactions ORDER BY TrRowId"));
    while (query.next())
        out << QStringLiteral("%1 %2/%3").arg(query.value(0).toString()).arg(query.value(1).toInt()).arg(query.value(2).toInt());
    return out;
}

void tst_PurgeDialog::purgesClosedOfActiveSheetUpToTheDayOnlyOnYes()
{
    PurgeDialog dialog(m_t->db.session());
    // Yesterday of 1 March in a leap year.
    QCOMPARE(dialog.datePicker()->date(), QDate(2024, 2, 29));
    QCOMPARE(QAccessible::queryAccessibleInterface(dialog.datePicker())->text(QAccessible::Name),
             QStringLiteral("Delete closed deadlines up to"));
    const QString question = QStringLiteral("There are 2 deadlines closed up to 2/29/2024 to delete\r\nConfirm?");

    // No leaves everything as it was.
    const QStringList before = remaining();
    m_t->prompts.queueAnswer(Prompt::Answer::No);
    clickButton(&dialog, QStringLiteral("continueButton"));
    QCOMPARE(m_t->prompts.shownTexts(), (QStringList{question, Texts::text(1323)}));
    QCOMPARE(remaining(), before);
    QVERIFY(m_announced->heard.isEmpty());

    m_t->prompts.clear();
    m_t->prompts.queueAnswer(Prompt::Answer::Yes);
    clickButton(&dialog, QStringLiteral("continueButton"));
    QCOMPARE(m_t->prompts.shownTexts(), (QStringList{question, Texts::text(1309)}));
    // The surviving group member keeps its position and size.
    QCOMPARE(remaining(), (QStringList{"closed after 2/2", "open long ago 0/0", "other sheet 0/0"}));
    QCOMPARE(m_announced->heard, QStringList{"deadlines 2"});
    QCOMPARE(dialog.result(), int(QDialog::Accepted));

    // Nothing left to purge is no error: a count of 0, still done.
    QCOMPARE(DeadlineStore(m_t->cs()).countClosedUpTo(2, QDate(2024, 2, 29)), 0);
}

void tst_PurgeDialog::typedDateIsTheOneUsed_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("pasted");
    QTest::addColumn<QString>("ending");   // "enter", "click" or "press" (a screen reader's, no focus change)
    QTest::addColumn<QStringList>("left");
    const QStringList purged{"open long ago 0/0", "other sheet 0/0"};
    for (const char *ending : {"enter", "click", "press"}) {
        QTest::addRow("a date, %s", ending) << "3/1/2024" << false << ending << purged;
        QTest::addRow("no date, %s", ending) << "13/45/2026" << false << ending << QStringList();
    }
    QTest::addRow("a pasted date, enter") << "3/1/2024" << true << "enter" << purged;
    QTest::addRow("pasted words, enter") << "the first of March" << true << "enter" << QStringList();
}

void tst_PurgeDialog::typedDateIsTheOneUsed()
{
    QFETCH(QString, typed);
    QFETCH(bool, pasted);
    QFETCH(QString, ending);
    QFETCH(QStringList, left);
    const QStringList before = remaining();
    PurgeDialog dialog(m_t->db.session());
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    DateBox *box = dialog.datePicker();
    box->setFocus();
    box->selectAll();
    if (pasted) {
        QGuiApplication::clipboard()->setText(typed);
        QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    } else {
        QTest::keyClicks(box, typed);
    }
    QCOMPARE(box->text(), typed);
    m_t->prompts.queueAnswer(Prompt::Answer::Yes);
    auto *proceed = dialog.findChild<QPushButton *>(QStringLiteral("continueButton"));
    if (ending == QLatin1String("enter")) {
        QTest::keyClick(box, Qt::Key_Return);
    } else if (ending == QLatin1String("click")) {
        QTest::mouseClick(proceed, Qt::LeftButton);
    } else {
        QAccessible::queryAccessibleInterface(proceed)->actionInterface()->doAction(
            QAccessibleActionInterface::pressAction());
        QVERIFY(proceed->isDown());
        QTRY_VERIFY(!proceed->isDown());   // released and clicked
    }

    if (left.isEmpty()) {
        // No date: nothing asked, nothing deleted, and the box keeps the focus to be fixed.
        QVERIFY(m_t->prompts.shown().isEmpty());
        QCOMPARE(remaining(), before);
        QVERIFY(dialog.isVisible());
        QCOMPARE(QApplication::focusWidget(), box);
        QCOMPARE(box->text(), typed);
        return;
    }
    // The question names the date typed, and that date is the one purged up to.
    QCOMPARE(m_t->prompts.shownTexts(),
             (QStringList{QStringLiteral("There are 3 deadlines closed up to 3/1/2024 to delete\r\nConfirm?"),
                          Texts::text(1309)}));
    QCOMPARE(remaining(), left);
}

QTEST_MAIN(tst_PurgeDialog)
#include "tst_PurgeDialog.moc"
