#include "RegisterTestDb.h"

#include "counterparties/Counterparties.h"
#include "counterparties/CounterpartyEditor.h"
#include "counterparties/CounterpartyList.h"
#include "deadlines/NewDeadlineWindow.h"
#include "platform/grid/DataGrid.h"
#include "platform/grid/GridView.h"
#include "../deadlines/RecordingListHost.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>

// The clients/suppliers window and editor over a real database, and the editor
// reached with F5 from the new-deadline window.
class tst_Counterparties final : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void newTakesHighestIdPlusOneAndKeepsTheName();
    void nameIsLimitedAndNeverEmpty();
    void deleteRefusedWhileAnySheetRefersToIt();
    void failedDeleteLeavesTheTable();
    void f5InDeadlineWindowCreatesAndSelects();

private:
    QStringList listedNames() const;
    void fillAndSave(const QString &name, const QString &notes);

    std::unique_ptr<RegisterTestDb> m_t;
    std::unique_ptr<CounterpartyList> m_list;
};

void tst_Counterparties::init()
{
    m_t = std::make_unique<RegisterTestDb>();
    QVERIFY(m_t->db.ok());
    m_t->db.raw(QStringLiteral("INSERT INTO Accounts (AcId, AcName, AcNotes) VALUES (3, 'Rossi', ''), (7, 'Bianchi', 'x')"));
    m_list = std::make_unique<CounterpartyList>(m_t->cs());
    m_list->showList();
}

void tst_Counterparties::cleanup()
{
    m_list.reset();
    m_t.reset();
}

QStringList tst_Counterparties::listedNames() const
{
    QStringList names;
    DataGrid *grid = m_list->list();
    for (int row = 1; row <= grid->rowCount(); ++row)
        names << grid->value(row, 2).toString();
    return names;
}

void tst_Counterparties::fillAndSave(const QString &name, const QString &notes)
{
    onNextModal<CounterpartyEditor>(this, [name, notes](CounterpartyEditor *editor) {
        editor->nameBox()->setText(name);
        editor->notesBox()->setText(notes);
        clickButton(editor, QStringLiteral("saveButton"));
    });
}

void tst_Counterparties::newTakesHighestIdPlusOneAndKeepsTheName()
{
    QCOMPARE(listedNames(), (QStringList{"Bianchi", "Rossi"}));

    // Cancel adds nothing.
    onNextModal<CounterpartyEditor>(this, [](CounterpartyEditor *editor) {
        editor->nameBox()->setText(QStringLiteral("Verdi"));
        clickButton(editor, QStringLiteral("cancelButton"));
    });
    m_list->findChild<QAction *>(QStringLiteral("newAction"))->trigger();
    QCOMPARE(m_t->count(QStringLiteral("SELECT Count(AcId) FROM Accounts")), 2);

    // The highest id is 7, whatever lies below it.
    const QString name = QStringLiteral("D'Amico & Figli \"Srl\"");
    fillAndSave(name, QStringLiteral("tel. '02'"));
    m_list->findChild<QAction *>(QStringLiteral("newAction"))->trigger();
    const Counterparties::Counterparty saved = Counterparties::read(m_t->cs(), 8);
    QCOMPARE(saved.name, name);
    QCOMPARE(saved.notes, QStringLiteral("tel. '02'"));
    QCOMPARE(listedNames(), (QStringList{"Bianchi", name, "Rossi"}));
    QCOMPARE(m_list->currentId(), 8);

    // Editing keeps the id and writes the apostrophes unchanged as well.
    m_list->list()->setCurrentRow(3);
    fillAndSave(QStringLiteral("Rossi l'Antico"), QString());
    QTest::keyClick(m_list->list()->view(), Qt::Key_Return);
    QCOMPARE(Counterparties::read(m_t->cs(), 3).name, QStringLiteral("Rossi l'Antico"));
    QCOMPARE(m_t->count(QStringLiteral("SELECT Count(AcId) FROM Accounts")), 3);
}

void tst_Counterparties::nameIsLimitedAndNeverEmpty()
{
    CounterpartyEditor editor(m_t->cs());
    int maxLength = 0;
    qsizetype typed = 0;
    bool focusKept = false;
    bool stillOpen = false;
    QTimer::singleShot(0, this, [&] {
        QApplication::setActiveWindow(&editor);
        maxLength = editor.nameBox()->maxLength();
        QTest::keyClicks(editor.nameBox(), QString(120, u'a'));
        typed = editor.nameBox()->text().size();
        editor.nameBox()->clear();
        editor.nameBox()->setFocus();
        // An empty name keeps the focus and cannot be saved.
        QTest::keyClick(editor.nameBox(), Qt::Key_Return);
        focusKept = QApplication::focusWidget() == editor.nameBox();
        editor.nameBox()->setText(QStringLiteral("   "));
        QTest::mouseClick(editor.findChild<QPushButton *>(QStringLiteral("saveButton")), Qt::LeftButton);
        stillOpen = editor.isVisible();
        // Esc leaves even with the name empty.
        QTest::keyClick(editor.nameBox(), Qt::Key_Escape);
        if (editor.isVisible())
            editor.reject();
    });
    QCOMPARE(editor.createNew(), 0);
    QCOMPARE(maxLength, 100);   // VARCHAR(100) in the template
    QCOMPARE(typed, 100);
    QVERIFY(focusKept);
    QVERIFY(stillOpen);
    QCOMPARE(m_t->count(QStringLiteral("SELECT Count(AcId) FROM Accounts")), 2);
}

void tst_Counterparties::deleteRefusedWhileAnySheetRefersToIt()
{
    // Rossi (3) is used only by a deadline of sheet 2, an inactive sheet.
    insertDeadline(m_t->cs(), 2, 1, false, QDate(2024, 5, 1), QStringLiteral("Invoice"), 3, Currency::fromWhole(10));
    auto *del = m_list->findChild<QAction *>(QStringLiteral("deleteAction"));
    m_list->list()->setCurrentRow(2);
    QCOMPARE(m_list->currentId(), 3);
    del->trigger();
    QCOMPARE(m_t->prompts.shownTexts().last(), Texts::text(1327));
    QCOMPARE(Counterparties::read(m_t->cs(), 3).id, 3);

    // Unused: No keeps it, Yes removes exactly it.
    m_list->list()->setCurrentRow(1);
    m_t->prompts.queueAnswer(Prompt::Answer::No);
    del->trigger();
    QCOMPARE(m_t->prompts.shownTexts().last(), Texts::text(1305));
    QCOMPARE(listedNames(), (QStringList{"Bianchi", "Rossi"}));
    m_t->prompts.queueAnswer(Prompt::Answer::Yes);
    QTest::keyClick(m_list->list()->view(), Qt::Key_Delete);
    QCOMPARE(listedNames(), QStringList{"Rossi"});
    QCOMPARE(m_t->count(QStringLiteral("SELECT Count(AcId) FROM Accounts")), 1);
    QCOMPARE(m_t->count(QStringLiteral("SELECT Count(TrRowId) FROM Transactions")), 1);

    // The refusal is also the store's own, not only the window's.
    QVERIFY(!Counterparties::remove(m_t->cs(), 3));
}

void tst_Counterparties::failedDeleteLeavesTheTable()
{
    m_t->db.raw(QStringLiteral("CREATE TRIGGER refuse BEFORE DELETE ON Accounts BEGIN SELECT RAISE(ABORT, 'disk says no'); END"));
    m_list->list()->setCurrentRow(1);
    m_t->prompts.queueAnswer(Prompt::Answer::Yes);
    m_list->deleteCounterparty();
    QVERIFY(m_t->prompts.shown().last().icon == Prompt::Icon::Critical);
    QVERIFY(m_t->prompts.shownTexts().last().contains(QStringLiteral("disk says no")));
    QCOMPARE(listedNames(), (QStringList{"Bianchi", "Rossi"}));
}

void tst_Counterparties::f5InDeadlineWindowCreatesAndSelects()
{
    RecordingListHost host;
    NewDeadlineWindow window(host, m_t->db.session());
    window.openBlank();
    auto *combo = window.findChild<QComboBox *>(QStringLiteral("counterpartyCombo"));
    combo->setFocus();
    fillAndSave(QStringLiteral("Zanetti"), QString());
    QTest::keyClick(combo, Qt::Key_F5);
    QCOMPARE(combo->currentText(), QStringLiteral("Zanetti"));
    QCOMPARE(combo->currentData().toInt(), 8);
    QCOMPARE(combo->count(), 4);   // the blank entry and three names
}

QTEST_MAIN(tst_Counterparties)
#include "tst_Counterparties.moc"
