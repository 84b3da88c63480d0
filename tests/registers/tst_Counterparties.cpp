#include "RegisterTestDb.h"
#include "../support/Announcements.h"
#include "../support/ListedRows.h"

#include "counterparties/CounterpartyEditor.h"
#include "counterparties/CounterpartyList.h"
#include "deadlines/DeadlineEditor.h"
#include "deadlines/NewDeadlineWindow.h"
#include "platform/grid/GridView.h"
#include "sheets/SheetsDialog.h"
#include "store/CounterpartyStore.h"
#include "store/SheetStore.h"

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScopeGuard>
#include <QStatusBar>

// The clients/suppliers window and editor over a real database, and the editor
// reached with F5 from the new-deadline window.
class tst_Counterparties final : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_t = std::make_unique<RegisterTestDb>();
        QVERIFY(m_t->db.ok());
        m_t->db.raw(QStringLiteral("INSERT INTO Accounts (AcId, AcName, AcNotes) VALUES (3, 'Rossi', ''), (7, 'Bianchi', 'x')"));
        m_announced = std::make_unique<Announcements>(changes());
        m_list = std::make_unique<CounterpartyList>(m_t->cs(), changes());
        m_list->showList();
    }

    void cleanup()
    {
        m_list.reset();
        m_announced.reset();
        m_t.reset();
    }

    void newGetsAnIdNeverUsedBeforeAndKeepsTheName()
    {
        QCOMPARE(listedNames(), (QStringList{"Bianchi", "Rossi"}));

        // Cancel adds nothing.
        onNextModal<CounterpartyEditor>(this, [](CounterpartyEditor *editor) {
            editor->nameBox()->setText(QStringLiteral("Verdi"));
            clickButton(editor, QStringLiteral("cancelButton"));
        });
        m_list->findChild<QAction *>(QStringLiteral("newAction"))->trigger();
        QCOMPARE(m_t->count(QStringLiteral("SELECT Count(AcId) FROM Accounts")), 2);
        QVERIFY(m_announced->heard.isEmpty());

        // The highest id is 7, whatever lies below it.
        const QString name = QStringLiteral("D'Amico & Figli \"Srl\"");
        fillAndSave(name, QStringLiteral("tel. '02'"));
        m_list->findChild<QAction *>(QStringLiteral("newAction"))->trigger();
        const Counterparty saved = CounterpartyStore(m_t->cs()).read(8);
        QCOMPARE(saved.name, name);
        QCOMPARE(saved.notes, QStringLiteral("tel. '02'"));
        QCOMPARE(listedNames(), (QStringList{"Bianchi", name, "Rossi"}));
        QCOMPARE(m_list->currentId(), 8);
        QCOMPARE(m_announced->heard, QStringList{"counterparties"});

        // The deleted highest id is never handed out again: a window still holding it
        // must not find a stranger under it.
        QVERIFY(CounterpartyStore(m_t->cs()).remove(8));
        QCOMPARE(CounterpartyStore(m_t->cs()).create(QStringLiteral("Verdi"), QString()), 9);

        // Editing keeps the id and writes the apostrophes unchanged as well.
        m_list->showList();
        m_list->list()->setCurrentRow(2);
        QCOMPARE(m_list->currentId(), 3);
        fillAndSave(QStringLiteral("Rossi l'Antico"), QString());
        QTest::keyClick(m_list->list()->view(), Qt::Key_Return);
        QCOMPARE(CounterpartyStore(m_t->cs()).read(3).name, QStringLiteral("Rossi l'Antico"));
        QCOMPARE(m_t->count(QStringLiteral("SELECT Count(AcId) FROM Accounts")), 3);
        QCOMPARE(m_announced->heard, (QStringList{"counterparties", "counterparties"}));
    }

    void boxesHoldWhatTheirColumnsHold()
    {
        CounterpartyEditor editor(m_t->cs(), changes());
        onNextModal<CounterpartyEditor>(this, [](CounterpartyEditor *editor) {
            QApplication::setActiveWindow(editor);
            QCOMPARE(editor->nameBox()->maxLength(), 100);   // VARCHAR(100) in the template
            QTest::keyClicks(editor->nameBox(), QString(120, u'a'));
            QCOMPARE(editor->nameBox()->text().size(), 100);
            editor->nameBox()->clear();
            editor->nameBox()->setFocus();
            // An empty name keeps the focus and cannot be saved.
            QTest::keyClick(editor->nameBox(), Qt::Key_Return);
            QCOMPARE(QApplication::focusWidget(), editor->nameBox());
            editor->nameBox()->setText(QStringLiteral("   "));
            clickButton(editor, QStringLiteral("saveButton"));
            QVERIFY(editor->isVisible());
            // Esc leaves even with the name empty.
            QTest::keyClick(editor->nameBox(), Qt::Key_Escape);
            QVERIFY(!editor->isVisible());
        });
        QCOMPARE(editor.createNew(), 0);
        QCOMPARE(m_t->count(QStringLiteral("SELECT Count(AcId) FROM Accounts")), 2);

        // The notes are long text: a long paste is kept whole, not cut without a word.
        const QString pasted = QString(100000, u'7');
        QGuiApplication::clipboard()->setText(pasted);
        onNextModal<CounterpartyEditor>(this, [](CounterpartyEditor *editor) {
            editor->nameBox()->setText(QStringLiteral("Verdi"));
            editor->notesBox()->setFocus();
            editor->notesBox()->paste();
            clickButton(editor, QStringLiteral("saveButton"));
        });
        const qint32 id = editor.createNew();
        QVERIFY(id > 0);
        QCOMPARE(CounterpartyStore(m_t->cs()).read(id).notes.size(), pasted.size());
    }

    void enterOnAFocusedButtonClicksIt_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<bool>("saved");
        QTest::newRow("Save") << QStringLiteral("saveButton") << true;
        QTest::newRow("Cancel") << QStringLiteral("cancelButton") << false;
    }

    void enterOnAFocusedButtonClicksIt()
    {
        QFETCH(QString, button);
        QFETCH(bool, saved);
        for (const auto key : {Qt::Key_Return, Qt::Key_Enter}) {
            bool closed = false;
            onNextModal<CounterpartyEditor>(this, [&, key](CounterpartyEditor *editor) {
                QApplication::setActiveWindow(editor);
                editor->nameBox()->setText(QStringLiteral("Verdi"));
                auto *target = editor->findChild<QPushButton *>(button);
                target->setFocus(Qt::TabFocusReason);
                QTest::keyClick(target, key, key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
                closed = !editor->isVisible();
            });
            const qint32 id = CounterpartyEditor(m_t->cs(), changes()).createNew();
            QVERIFY(closed);
            QCOMPARE(id > 0, saved);
        }
        QCOMPARE(m_t->count(QStringLiteral("SELECT Count(AcId) FROM Accounts WHERE AcName='Verdi'")), saved ? 2 : 0);
    }

    void deleteRefusedWhileInUseOrRefusedByTheDatabase()
    {
        // Rossi (3) is used only by a deadline of sheet 2, an inactive sheet.
        insertDeadline(m_t->cs(), 2, 1, false, QDate(2024, 5, 1), QStringLiteral("Invoice"), 3, Currency::fromWhole(10));
        auto *del = m_list->findChild<QAction *>(QStringLiteral("deleteAction"));
        m_list->list()->setCurrentRow(2);
        QCOMPARE(m_list->currentId(), 3);
        del->trigger();
        QCOMPARE(m_t->prompts.shownTexts().last(), Texts::text(1327));
        QCOMPARE(CounterpartyStore(m_t->cs()).read(3).id, 3);

        // Unused: No keeps it, Yes removes exactly it.
        m_list->list()->setCurrentRow(1);
        m_t->prompts.queueAnswer(Prompt::Answer::No);
        del->trigger();
        QCOMPARE(m_t->prompts.shownTexts().last(), Texts::text(1305));
        QCOMPARE(listedNames(), (QStringList{"Bianchi", "Rossi"}));
        // A delete the database refuses is told, and the list stays as it was.
        m_t->db.raw(QStringLiteral("CREATE TRIGGER refuse BEFORE DELETE ON Accounts BEGIN SELECT RAISE(ABORT, 'disk says no'); END"));
        m_t->prompts.queueAnswer(Prompt::Answer::Yes);
        del->trigger();
        QVERIFY(m_t->prompts.shown().last().icon == Prompt::Icon::Critical);
        QVERIFY(m_t->prompts.shownTexts().last().contains(QStringLiteral("disk says no")));
        QCOMPARE(listedNames(), (QStringList{"Bianchi", "Rossi"}));
        QVERIFY(m_announced->heard.isEmpty());
        m_t->db.raw(QStringLiteral("DROP TRIGGER refuse"));
        m_list->list()->setCurrentRow(1);
        m_t->prompts.queueAnswer(Prompt::Answer::Yes);
        QTest::keyClick(m_list->list()->view(), Qt::Key_Delete);
        QCOMPARE(listedNames(), QStringList{"Rossi"});
        QCOMPARE(m_announced->heard, QStringList{"counterparties"});
        QCOMPARE(m_t->count(QStringLiteral("SELECT Count(AcId) FROM Accounts")), 1);
        QCOMPARE(m_t->count(QStringLiteral("SELECT Count(TrRowId) FROM Transactions")), 1);

        // The refusal is also the store's own, not only the window's.
        QVERIFY(!CounterpartyStore(m_t->cs()).remove(3));
    }

    void deadlineWindowsCreateAndRefuseCounterparties()
    {
        // The date boxes read the dates of a real locale.
        const QLocale before;
        QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
        auto restore = qScopeGuard([before] { QLocale::setDefault(before); });
        const QString gone = Texts::text(2820).arg(QStringLiteral("Bianchi"));

        NewDeadlineWindow window(m_t->db.session());
        window.openBlank();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        auto *combo = window.findChild<QComboBox *>(QStringLiteral("counterpartyCombo"));
        // F5 on the box makes a new client/supplier and selects it.
        combo->setFocus();
        fillAndSave(QStringLiteral("Zanetti"), QString());
        QTest::keyClick(combo, Qt::Key_F5);
        QCOMPARE(combo->currentText(), QStringLiteral("Zanetti"));
        QCOMPARE(combo->currentData().toInt(), 8);
        QCOMPARE(combo->count(), 4);   // the blank entry and three names

        // A new deadline for Bianchi, who is deleted while the window is open.
        combo->setCurrentIndex(combo->findData(7));
        window.findChild<QLineEdit *>(QStringLiteral("descriptionBox"))->setText(QStringLiteral("Invoice 12"));
        QVERIFY(CounterpartyStore(m_t->cs()).remove(7));
        QVERIFY(CounterpartyStore(m_t->cs()).create(QStringLiteral("Verdi"), QString()) != 7);
        clickButton(&window, QStringLiteral("saveButton"));
        QCOMPARE(m_t->count(QStringLiteral("SELECT Count(TrRowId) FROM Transactions")), 0);
        QCOMPARE(m_t->prompts.shownTexts(), QStringList{gone});
        QVERIFY(window.isVisible());
        QCOMPARE(window.findChild<QLineEdit *>(QStringLiteral("descriptionBox"))->text(), QStringLiteral("Invoice 12"));
        QCOMPARE(combo->findText(QStringLiteral("Bianchi")), -1);
        QVERIFY(combo->findText(QStringLiteral("Verdi")) > 0);
        QCOMPARE(combo->currentIndex(), 0);
        // Choosing again saves.
        combo->setCurrentIndex(combo->findText(QStringLiteral("Rossi")));
        clickButton(&window, QStringLiteral("saveButton"));
        QCOMPARE(m_t->count(QStringLiteral("SELECT Count(TrRowId) FROM Transactions WHERE TrAcId=3")), 1);

        // The editor moves that deadline to a client deleted meanwhile: refused alike.
        const qint32 rowId = m_t->count(QStringLiteral("SELECT Max(TrRowId) FROM Transactions"));
        const qint32 fresh = CounterpartyStore(m_t->cs()).create(QStringLiteral("Bianchi"), QString());
        DeadlineEditor editor(m_t->db.session());
        editor.open(rowId);
        QVERIFY(QTest::qWaitForWindowActive(&editor));
        auto *editorCombo = editor.findChild<QComboBox *>(QStringLiteral("counterpartyCombo"));
        editorCombo->setCurrentIndex(editorCombo->findData(fresh));
        editor.findChild<QPlainTextEdit *>(QStringLiteral("notesBox"))->setPlainText(QStringLiteral("call first"));
        QVERIFY(CounterpartyStore(m_t->cs()).remove(fresh));
        clickButton(&editor, QStringLiteral("saveButton"));
        QCOMPARE(m_t->prompts.shownTexts(), (QStringList{gone, gone}));
        QVERIFY(editor.isVisible());
        QCOMPARE(editorCombo->findText(QStringLiteral("Bianchi")), -1);
        QCOMPARE(editor.findChild<QPlainTextEdit *>(QStringLiteral("notesBox"))->toPlainText(), QStringLiteral("call first"));
        QCOMPARE(m_t->count(QStringLiteral("SELECT Count(TrRowId) FROM Transactions WHERE TrAcId=3 AND TrNotes=''")), 1);
    }

    void namesSortAlikeEverywhere()
    {
        const QLocale before;
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        const auto restore = qScopeGuard([before] { QLocale::setDefault(before); });
        const QStringList names{"Zahnarzt Müller", "Öl & Gas", "Édith Piaf SARL", "Ärztekammer", "bianchi"};
        for (const QString &name : names) {
            CounterpartyStore(m_t->cs()).create(name, QString());
            SheetStore(m_t->cs()).create(name);
        }
        const QStringList expected{"Ärztekammer", "Bianchi", "bianchi", "Édith Piaf SARL", "Öl & Gas", "Rossi",
                                   "Zahnarzt Müller"};

        NewDeadlineWindow window(m_t->db.session());
        window.openBlank();
        auto *combo = window.findChild<QComboBox *>(QStringLiteral("counterpartyCombo"));
        QStringList inWindow;
        for (int i = 1; i < combo->count(); ++i)
            inWindow << combo->itemText(i);
        QCOMPARE(inWindow, expected);
        m_list->showList();
        QCOMPARE(listedNames(), expected);

        const QStringList expectedSheets{"Ärztekammer", "bianchi", "Deadlines", "Édith Piaf SARL", "Öl & Gas", "Zahnarzt Müller"};
        SheetsDialog sheetsDialog(m_t->db.session());
        QCOMPARE(listedTexts(sheetsDialog.list(), 2), expectedSheets);
    }

    void listKeepsNoStateAndKeepsItsHint()
    {
        // Rossi has the lowest id, Bianchi the first name: the list opens on the name.
        QCOMPARE(m_list->currentId(), 7);
        m_list->list()->setCurrentRow(2);
        m_list->close();
        m_list->showList();
        QCOMPARE(m_list->currentId(), 7);
        // Asked again while still open, it stays where the user is.
        m_list->list()->setCurrentRow(2);
        m_list->showList();
        QCOMPARE(m_list->currentId(), 3);

        // A menu's status tips cover the key hint only for a while.
        auto *hint = m_list->findChild<QLabel *>(QStringLiteral("keyHint"));
        QVERIFY(hint);
        QStatusTipEvent tip(QStringLiteral("Print"));
        QApplication::sendEvent(m_list.get(), &tip);
        QStatusTipEvent cleared{QString()};
        QApplication::sendEvent(m_list.get(), &cleared);
        QVERIFY(m_list->statusBar()->currentMessage().isEmpty());
        QVERIFY(hint->isVisibleTo(m_list.get()));
    }

private:
    QStringList listedNames() const { return listedTexts(m_list->list(), 2); }
    Register &changes() { return m_t->db.session().deadlineRegister(); }

    void fillAndSave(const QString &name, const QString &notes)
    {
        onNextModal<CounterpartyEditor>(this, [name, notes](CounterpartyEditor *editor) {
            editor->nameBox()->setText(name);
            editor->notesBox()->setText(notes);
            clickButton(editor, QStringLiteral("saveButton"));
        });
    }

    std::unique_ptr<RegisterTestDb> m_t;
    std::unique_ptr<Announcements> m_announced;
    std::unique_ptr<CounterpartyList> m_list;
};

QTEST_MAIN(tst_Counterparties)
#include "tst_Counterparties.moc"
