#include "RegisterTestDb.h"
#include "../support/Announcements.h"
#include "../support/ListedRows.h"

#include "counterparties/CounterpartyEditor.h"
#include "counterparties/CounterpartyList.h"
#include "deadlines/DeadlineEditor.h"
#include "deadlines/NewDeadlineWindow.h"
#include "deadlines/PurgeDialog.h"
#include "platform/Clock.h"
#include "platform/DateBox.h"
#include "platform/grid/DataGrid.h"
#include "platform/grid/GridModel.h"
#include "platform/grid/GridView.h"
#include "sheets/SheetsDialog.h"
#include "startup/Setting.h"
#include "store/CounterpartyStore.h"
#include "store/DeadlineStore.h"
#include "store/SheetStore.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScopeGuard>
#include <QStatusBar>

// The registers' windows over a real database: the clients/suppliers window and
// editor, and the editor reached with F5 from the new-deadline window; the sheets
// window; the purge of closed deadlines.
class tst_RegisterWindows final : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_t = std::make_unique<WindowTestDb>();
        QVERIFY(m_t->ok());
        m_t->session().setActiveSheet(1, QStringLiteral("Deadlines"));
        m_t->raw(QStringLiteral("INSERT INTO Accounts (AcId, AcName, AcNotes) VALUES (3, 'Rossi', ''), (7, 'Bianchi', 'x')"));
        m_announced = std::make_unique<Announcements>(changes());
        m_list = std::make_unique<CounterpartyList>(m_t->cs(), changes());
        m_list->showList();
    }

    void cleanup()
    {
        Clock::pin(QDate());
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

    void enterOnAFocusedButtonClicksIt()
    {
        const struct { const char *row; QString button; bool saved; } cases[] = {
            {"Save", QStringLiteral("saveButton"), true},
            {"Cancel", QStringLiteral("cancelButton"), false},
        };
        for (const auto &[row, button, saved] : cases) {
            const auto named = qScopeGuard([row] { if (QTest::currentTestFailed()) qWarning("row: %s", row); });
            cleanup();   // each row on a fresh database
            init();
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
        m_t->raw(QStringLiteral("CREATE TRIGGER refuse BEFORE DELETE ON Accounts BEGIN SELECT RAISE(ABORT, 'disk says no'); END"));
        m_t->prompts.queueAnswer(Prompt::Answer::Yes);
        del->trigger();
        QVERIFY(m_t->prompts.shown().last().icon == Prompt::Icon::Critical);
        QVERIFY(m_t->prompts.shownTexts().last().contains(QStringLiteral("disk says no")));
        QCOMPARE(listedNames(), (QStringList{"Bianchi", "Rossi"}));
        QVERIFY(m_announced->heard.isEmpty());
        m_t->raw(QStringLiteral("DROP TRIGGER refuse"));
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

        NewDeadlineWindow window(m_t->session());
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
        DeadlineEditor editor(m_t->session());
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

        NewDeadlineWindow window(m_t->session());
        window.openBlank();
        auto *combo = window.findChild<QComboBox *>(QStringLiteral("counterpartyCombo"));
        QStringList inWindow;
        for (int i = 1; i < combo->count(); ++i)
            inWindow << combo->itemText(i);
        QCOMPARE(inWindow, expected);
        m_list->showList();
        QCOMPARE(listedNames(), expected);

        const QStringList expectedSheets{"Ärztekammer", "bianchi", "Deadlines", "Édith Piaf SARL", "Öl & Gas", "Zahnarzt Müller"};
        SheetsDialog sheetsDialog(m_t->session());
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

    // The sheets window: selecting, creating, renaming and deleting sheets, and the
    // refusals that protect the only sheet, the active sheet and sheet 1.
    void deleteRefusals()
    {
        const struct { const char *row; bool twoSheets; int active; int chosen; QString message; } cases[] = {
            {"the only sheet", false, 1, 1, Texts::text(1405)},
            {"the active sheet", true, 2, 2, Texts::text(1406)},
            // Sheet 1 is refused even when another sheet is active.
            {"sheet 1", true, 2, 1, QStringLiteral("UNO")},
        };
        for (const auto &[row, twoSheets, active, chosen, message] : cases) {
            const auto named = qScopeGuard([row] { if (QTest::currentTestFailed()) qWarning("row: %s", row); });
            cleanup();   // each row on a fresh database
            init();
            if (twoSheets)
                addSheet(2, QStringLiteral("Office"));
            insertDeadline(m_t->cs(), chosen, 1, false, QDate(2024, 1, 1), QStringLiteral("Kept"), 0, Currency::fromWhole(1));
            m_t->session().setActiveSheet(active, QStringLiteral("x"));
            m_t->prompts.queueAnswer(Prompt::Answer::Yes);   // would confirm, were it asked
            SheetsDialog dialog(m_t->session());
            choose(dialog, chosen);
            const int sheets = sheetCount();
            clickButton(&dialog, QStringLiteral("deleteButton"));
            QCOMPARE(m_t->prompts.shownTexts(), QStringList{message});
            QCOMPARE(sheetCount(), sheets);
            QCOMPARE(deadlineCount(), 1);
        }
    }

    void deleteTakesTheSheetWithItsDeadlinesOrNothing()
    {
        addSheet(3, QStringLiteral("Old"));
        m_t->raw(QStringLiteral("INSERT INTO Accounts (AcId, AcName) VALUES (4, 'Rossi')"));
        insertDeadline(m_t->cs(), 1, 1, false, QDate(2024, 1, 1), QStringLiteral("Stays"), 4, Currency::fromWhole(1));
        insertDeadline(m_t->cs(), 3, 1, false, QDate(2024, 1, 1), QStringLiteral("Goes"), 4, Currency::fromWhole(1));
        insertDeadline(m_t->cs(), 3, -1, true, QDate(2024, 2, 1), QStringLiteral("Goes too"), 0, Currency::fromWhole(2));
        SheetsDialog dialog(m_t->session());
        choose(dialog, 3);

        m_t->prompts.queueAnswer(Prompt::Answer::No);
        clickButton(&dialog, QStringLiteral("deleteButton"));
        QCOMPARE(m_t->prompts.shownTexts(), QStringList{Texts::text(1407)});
        QCOMPARE(sheetCount(), 2);
        QCOMPARE(deadlineCount(), 3);

        // The deadlines go first; when the sheet's own delete then fails, both tables stay.
        m_t->raw(QStringLiteral("CREATE TRIGGER refuse BEFORE DELETE ON Dbs BEGIN SELECT RAISE(ABORT, 'disk says no'); END"));
        m_t->prompts.queueAnswer(Prompt::Answer::Yes);
        clickButton(&dialog, QStringLiteral("deleteButton"));
        QCOMPARE(m_t->prompts.shown().last().icon, Prompt::Icon::Critical);
        QVERIFY(m_t->prompts.shownTexts().last().contains(QStringLiteral("disk says no")));
        QCOMPARE(sheetCount(), 2);
        QCOMPARE(deadlineCount(), 3);
        QVERIFY(m_announced->heard.isEmpty());

        m_t->raw(QStringLiteral("DROP TRIGGER refuse"));
        choose(dialog, 3);
        m_t->prompts.clear();
        m_t->prompts.queueAnswer(Prompt::Answer::Yes);
        clickButton(&dialog, QStringLiteral("deleteButton"));
        QCOMPARE(m_t->prompts.shownTexts(), (QStringList{Texts::text(1407), Texts::text(1408)}));
        QCOMPARE(sheetCount(), 1);
        QCOMPARE(m_announced->heard, QStringList{"sheets"});
        QCOMPARE(dialog.list()->rowCount(), 1);
        QCOMPARE(m_t->count(QStringLiteral("SELECT Count(TrRowId) FROM Transactions WHERE TrDbId=1")), 1);
        QCOMPARE(deadlineCount(), 1);
        QCOMPARE(m_t->count(QStringLiteral("SELECT Count(AcId) FROM Accounts")), 3);   // the clients stay
    }

    void renameNewAndSelect()
    {
        addSheet(7, QStringLiteral("Seven"));
        SheetsDialog dialog(m_t->session());
        QCOMPARE(dialog.selectedId(), 1);   // opens on the active sheet
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        // Enter on the focused button presses it, as a click does; the rename reaches the active sheet.
        m_t->prompts.queueInput(QStringLiteral("Home's"));
        auto *rename = dialog.findChild<QPushButton *>(QStringLiteral("editButton"));
        rename->setFocus(Qt::TabFocusReason);
        QTest::keyClick(rename, Qt::Key_Return);
        QCOMPARE(SheetStore(m_t->cs()).name(1), QStringLiteral("Home's"));
        QCOMPARE(m_t->session().activeSheetName(), QStringLiteral("Home's"));
        QCOMPARE(m_announced->heard, QStringList{"sheets"});
        QCOMPARE(m_t->prompts.shownTexts(), QStringList{Texts::text(1411)});

        // A new sheet takes the highest id plus one. Cancel (an empty answer) and a blank name change nothing.
        m_t->prompts.queueInput(QString());
        dialog.createSheet();
        m_t->prompts.queueInput(QStringLiteral("   "));
        dialog.createSheet();
        QCOMPARE(sheetCount(), 2);

        m_t->prompts.clear();
        m_t->prompts.queueInput(QStringLiteral("  Casa d'Anna "));
        clickButton(&dialog, QStringLiteral("newButton"));
        QCOMPARE(m_t->prompts.shownTexts(), (QStringList{Texts::text(1409), Texts::text(1410)}));
        QCOMPARE(SheetStore(m_t->cs()).name(8), QStringLiteral("Casa d'Anna"));
        QCOMPARE(dialog.list()->rowCount(), 3);
        QCOMPARE(dialog.selectedId(), 8);
        // It is not made active.
        QCOMPARE(m_t->session().activeSheetId(), 1);

        // Enter on another sheet makes it active, and the next start reads it.
        choose(dialog, 7);
        QTest::keyClick(dialog.list()->view(), Qt::Key_Return);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(m_t->session().activeSheetId(), 7);
        QCOMPARE(m_t->session().activeSheetName(), QStringLiteral("Seven"));
        QCOMPARE(m_announced->heard.last(), QStringLiteral("active sheet 7"));
        Session next(SettingsStore(m_t->session().settings().fileName()));
        next.setConnectionString(m_t->cs());
        next.loadActiveSheet();
        QCOMPARE(next.activeSheetId(), 7);
    }

    // The purge of closed deadlines: the date is inclusive, only closed deadlines of
    // the active sheet go, No leaves everything as it was, and the date used is the
    // one the box shows however the typing ended.
    void purgesClosedOfActiveSheetUpToTheDayOnlyOnYes()
    {
        purgeFixture();
        PurgeDialog dialog(m_t->session());
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

    void typedDateIsTheOneUsed()
    {
        // Typed or pasted, and the ending: "enter", "click" or "press" (a screen
        // reader's, no focus change); a date purges up to it, anything else nothing.
        const struct { const char *typed; bool pasted; const char *ending; bool isDate; } cases[] = {
            {"3/1/2024", false, "enter", true}, {"13/45/2026", false, "enter", false},
            {"3/1/2024", false, "click", true}, {"13/45/2026", false, "click", false},
            {"3/1/2024", false, "press", true}, {"13/45/2026", false, "press", false},
            {"3/1/2024", true, "enter", true},  {"the first of March", true, "enter", false}};
        for (const auto &[typedText, pasted, endingText, isDate] : cases) {
            const QString typed = QString::fromLatin1(typedText);
            const QString ending = QString::fromLatin1(endingText);
            const auto named = qScopeGuard([&] { if (QTest::currentTestFailed()) qWarning() << typed << ending; });
            cleanup();   // each on a fresh database
            init();
            purgeFixture();
            const QStringList before = remaining();
            PurgeDialog dialog(m_t->session());
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

            if (!isDate) {
                // No date: nothing asked, nothing deleted, and the box keeps the focus to be fixed.
                QVERIFY(m_t->prompts.shown().isEmpty());
                QCOMPARE(remaining(), before);
                QVERIFY(dialog.isVisible());
                QCOMPARE(QApplication::focusWidget(), box);
                QCOMPARE(box->text(), typed);
                continue;
            }
            // The question names the date typed, and that date is the one purged up to.
            QCOMPARE(m_t->prompts.shownTexts(),
                     (QStringList{QStringLiteral("There are 3 deadlines closed up to 3/1/2024 to delete\r\nConfirm?"),
                                  Texts::text(1309)}));
            QCOMPARE(remaining(), (QStringList{"open long ago 0/0", "other sheet 0/0"}));
        }
    }

private:
    void addSheet(int id, const QString &name)
    {
        m_t->raw(QStringLiteral("INSERT INTO Dbs (DbId, DbName) VALUES (%1, '%2')").arg(id).arg(name));
    }

    void choose(SheetsDialog &dialog, qint32 id)
    {
        GridModel *model = dialog.list()->model();
        QVERIFY(model->find(1, id, GridModel::FindMode::Equal, 0, 1) > 0);
        QCOMPARE(dialog.selectedId(), id);
    }

    int sheetCount() const { return m_t->count(QStringLiteral("SELECT Count(DbId) FROM Dbs")); }
    int deadlineCount() const { return m_t->count(QStringLiteral("SELECT Count(TrRowId) FROM Transactions")); }

    // Sheet 2 "Office" active on 1 March 2024: closed deadlines before, on and after
    // the day before (two of a group), an open one long ago, a closed one of sheet 1.
    void purgeFixture()
    {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        Clock::pin(QDate(2024, 3, 1));
        m_t->session().setActiveSheet(2, QStringLiteral("Office"));
        const QString cs = m_t->cs();
        const Currency ten = Currency::fromWhole(10);
        insertDeadline(cs, 2, 1, true, QDate(2024, 2, 28), QStringLiteral("closed before"), 0, ten);
        insertDeadline(cs, 2, -1, true, QDate(2024, 2, 29), QStringLiteral("closed on the day"), 0, ten, {}, 5, 1, 2);
        insertDeadline(cs, 2, -1, true, QDate(2024, 3, 1), QStringLiteral("closed after"), 0, ten, {}, 5, 2, 2);
        insertDeadline(cs, 2, -2, false, QDate(2023, 1, 1), QStringLiteral("open long ago"), 0, Currency());
        insertDeadline(cs, 1, 1, true, QDate(2023, 1, 1), QStringLiteral("other sheet"), 0, ten);
        m_announced->heard.clear();
    }

    QStringList remaining() const
    {
        return tableRows(m_t->cs(), QStringLiteral("TrDescription || ' ' || TrGrpRow || '/' || TrGrpMDay"));
    }

    QStringList listedNames() const { return listedTexts(m_list->list(), 2); }
    Register &changes() { return m_t->session().deadlineRegister(); }

    void fillAndSave(const QString &name, const QString &notes)
    {
        onNextModal<CounterpartyEditor>(this, [name, notes](CounterpartyEditor *editor) {
            editor->nameBox()->setText(name);
            editor->notesBox()->setText(notes);
            clickButton(editor, QStringLiteral("saveButton"));
        });
    }

    std::unique_ptr<WindowTestDb> m_t;
    std::unique_ptr<Announcements> m_announced;
    std::unique_ptr<CounterpartyList> m_list;
};

QTEST_MAIN(tst_RegisterWindows)
#include "tst_RegisterWindows.moc"
