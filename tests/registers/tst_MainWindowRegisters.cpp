#include "counterparties/CounterpartyEditor.h"
#include "counterparties/CounterpartyList.h"
#include "deadlines/DeleteFromGroupDialog.h"
#include "deadlines/PurgeDialog.h"
#include "import/ImportDialog.h"
#include "platform/grid/GridView.h"
#include "sheets/SheetsDialog.h"

#include "RegisterTestDb.h"
#include "../mainwindow/MainWindowFixture.h"
#include "../support/OtherProgram.h"
#include "../support/ScopedFileSizeLimit.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QScopeGuard>
#include <QTimer>

#include <algorithm>
#include <memory>

// The main window's File menu reaching the exports and the sheets: what the
// files hold, how a failed write is told, and the window following a new sheet
// and a renamed client;
// and every question that deletes, reached from the window, answered by Enter;
// Undo and Redo from the keyboard.
class tst_MainWindowRegisters final : public QObject, MainWindowFixture
{
    Q_OBJECT

private slots:
    void init()
    {
        start(QDate(2024, 1, 31));
        m_out = std::make_unique<QTemporaryDir>();
    }

    void cleanup()
    {
        stop();
    }

    void exportFollowsTheGroupedList()
    {
        runSql(cs(), QStringLiteral("INSERT INTO Accounts (AcName, AcNotes) VALUES ('Caffè \"Roma\"', 'tel.\t02')"));
        const int acId = firstValue(cs(), QStringLiteral("SELECT Max(AcId) FROM Accounts")).toInt();
        insertDeadline(cs(), 1, 1, true, QDate(2024, 3, 5), QStringLiteral("March credit"), acId, Currency::fromWhole(100));
        insertDeadline(cs(), 1, -1, false, QDate(2024, 1, 10), QStringLiteral("January debit"), 0, Currency::fromWhole(100));
        insertDeadline(cs(), 1, -1, false, QDate(2024, 2, 10), QStringLiteral("Loan"), 0, Currency::fromWhole(5), {}, 9, 1, 2);
        insertDeadline(cs(), 1, -1, false, QDate(2024, 3, 10), QStringLiteral("Loan"), 0, Currency::fromWhole(5), {}, 9, 2, 2);
        insertDeadline(cs(), 2, 1, false, QDate(2024, 1, 1), QStringLiteral("Other sheet"), 0, Currency::fromWhole(1));
        open();
        m_window->listPanel()->chooseLayout(2);
        m_window->listPanel()->expandAll();
        const QStringList order = listedDescriptions();
        QCOMPARE(order.size(), 4);

        const QString path = exportThroughMenu(QStringLiteral("exportAction"), QStringLiteral("list.txt"));
        const QString text = QString::fromUtf8(fileBytes(path));
        QVERIFY(text.endsWith(QStringLiteral("\r\n")));
        QStringList lines = text.split(QStringLiteral("\r\n"));
        lines.removeLast();
        QCOMPARE(lines.size(), 1 + 4);   // the header and the deadlines; no group rows
        // The list's order, the recurrence counter added as the list shows it.
        for (int i = 1; i < lines.size(); ++i) {
            const QString description = lines.at(i).split(u'\t').at(3);
            QVERIFY2(description.startsWith(u'"' + order.at(i - 1)), qPrintable(description));
        }
        QVERIFY(lines.contains(QStringLiteral("\"Credit\"\t\"Past\"\t\"3/5/2024\"\t\"March credit\"\t\"100\"\t\"100\"\t"
                                              "\"Caffè \"\"Roma\"\"\"\t\"tel.\t02\"")));
        // Recurrence members carry the counter the list shows.
        QVERIFY(text.contains(QStringLiteral("\"Loan 2 of 2\"")));
        QVERIFY(!text.contains(QStringLiteral("Other sheet")));

        // Collapsed groups hide their rows on screen only: the export still holds
        // every deadline of the view, in the same order.
        for (int layout : {2, 0}) {
            m_window->listPanel()->chooseLayout(layout);
            m_window->listPanel()->collapseAll();
            QVERIFY(listedDescriptions().size() < 4);
            const QString collapsed = exportThroughMenu(QStringLiteral("exportAction"),
                                                        QStringLiteral("collapsed%1.txt").arg(layout));
            QCOMPARE(QString::fromUtf8(fileBytes(collapsed)).split(QStringLiteral("\r\n")).size(), lines.size() + 1);
            if (layout == 2)
                QCOMPARE(fileBytes(collapsed), fileBytes(path));
        }
    }

    // A name typed without its extension names the file with it: that file is the
    // one asked about, Enter keeps it, and only Yes replaces it.
    void exportAsksBeforeReplacingTheFinalName()
    {
        // The command, the file's extension, what the replacing file holds of the grouped
        // rent, how often it names the closed deadline, and what it holds once per open one.
        const struct {
            const char *row;
            QString action, extension;
            QByteArray written;
            int closedListed;
            QByteArray perOpenDeadline;
        } cases[] = {
            {"text", "exportAction", "txt", "\"Rent 2 of 2\"", 1, "\"Rent "},
            // The calendar takes open deadlines only; the events' fields are the export's own test.
            {"calendar", "exportCalendarAction", "ics", "SUMMARY:Rent 2 of 2", 0, "BEGIN:VEVENT"},
        };
        for (const auto &[row, action, extension, written, closedListed, perOpenDeadline] : cases) {
            const auto named = qScopeGuard([row] { if (QTest::currentTestFailed()) qWarning("row: %s", row); });
            cleanup();   // each row on a fresh database
            init();
            insertDeadline(cs(), 1, -1, false, QDate(2024, 2, 10), QStringLiteral("Rent"), 0, Currency::fromWhole(5), {}, 9, 1, 2);
            insertDeadline(cs(), 1, -1, false, QDate(2024, 3, 10), QStringLiteral("Rent"), 0, Currency::fromWhole(5), {}, 9, 2, 2);
            insertDeadline(cs(), 1, 1, true, QDate(2024, 1, 5), QStringLiteral("Paid long ago"), 0, Currency::fromWhole(1));
            open();
            m_window->listPanel()->chooseLayout(1);
            const QString typed = m_out->filePath(QStringLiteral("list"));
            const QString target = typed + u'.' + extension;
            QVERIFY(writeFile(target, "keep me"));

            Prompt::ScriptedPrompts &prompts = m_session->prompts();
            prompts.queueSaveFile(typed);
            prompts.queueEnter();   // then the dialog again, cancelled
            m_window->findChild<QAction *>(action)->trigger();
            QCOMPARE(fileBytes(target), QByteArray("keep me"));
            QCOMPARE(prompts.shown().size(), 3);
            const Prompt::Shown &question = prompts.shown().at(1);
            QCOMPARE(question.kind, QStringLiteral("message"));
            QCOMPARE(question.buttons, Prompt::Buttons::YesNo);
            QCOMPARE(question.enterAnswer, Prompt::Answer::No);
            QVERIFY2(question.text.contains(QDir::toNativeSeparators(target)), qPrintable(question.text));
            QCOMPARE(prompts.shown().at(2).kind, QStringLiteral("save"));

            prompts.clear();
            prompts.queueSaveFile(typed);
            prompts.queueAnswer(Prompt::Answer::Yes);
            m_window->findChild<QAction *>(action)->trigger();
            QCOMPARE(prompts.shown().size(), 2);
            QVERIFY2(fileBytes(target).contains(written), fileBytes(target).constData());
            QCOMPARE(fileBytes(target).count("Paid long ago"), closedListed);
            QCOMPARE(fileBytes(target).count(perOpenDeadline), 2);
            QCOMPARE(QDir(m_out->path()).entryList(QDir::Files | QDir::Hidden), QStringList{QFileInfo(target).fileName()});
        }
    }

    // A disk that fills up after 16 KiB of a 27 KiB export, over a good older export:
    // the user is told where and why, and the older export stays whole.
    void unwritableFileIsToldAndLeavesNothing()
    {
        const QString path = m_out->filePath(QStringLiteral("list.txt"));
        for (int i = 0; i < 18; ++i)
            insertDeadline(cs(), 1, 1, false, QDate(2024, 2, 1 + i),
                           QStringLiteral("Deadline %1 ").arg(i) + QString(1500, u'x'), 0, Currency::fromWhole(i));
        QVERIFY(writeFile(path, "good older export\r\n"));
        open();
        m_session->prompts().queueSaveFile(path);
        m_session->prompts().queueAnswer(Prompt::Answer::Yes);   // replace the older export
        {
            ScopedFileSizeLimit limit(16 * 1024);
            trigger("exportAction");
        }
        const Prompt::Shown &told = m_session->prompts().shown().last();
        QCOMPARE(told.icon, Prompt::Icon::Critical);
        QVERIFY(told.text.startsWith(Texts::text(2500)));
        QVERIFY(told.text.contains(QDir::toNativeSeparators(path) + QStringLiteral(": ")));
        QCOMPARE(fileBytes(path), QByteArray("good older export\r\n"));
        QCOMPARE(QDir(m_out->path()).entryList(QDir::Files | QDir::Hidden), QStringList{"list.txt"});

        // Cancel in the dialog writes nothing and says nothing.
        m_session->prompts().clear();
        trigger("exportCalendarAction");
        QCOMPARE(m_session->prompts().shownTexts().size(), 1);
    }

    // Two credits of 500,000,000,000,000 add up past the 64-bit range, and an amount
    // another program wrote as 1e300 fits no amount at all: the list, its captions
    // and the export say so in words, and never show a wrong number.
    void amountsOutOfRangeAreNeverOtherNumbers()
    {
        runSql(cs(), QStringLiteral("INSERT INTO Accounts (AcName) VALUES ('Big')"));
        const int big = firstValue(cs(), QStringLiteral("SELECT Max(AcId) FROM Accounts")).toInt();
        runSql(cs(), QStringLiteral("INSERT INTO Accounts (AcName) VALUES ('Edited')"));
        const int edited = firstValue(cs(), QStringLiteral("SELECT Max(AcId) FROM Accounts")).toInt();
        const Currency half = Currency::fromWhole(500'000'000'000'000);
        insertDeadline(cs(), 1, 1, false, QDate(2024, 2, 1), QStringLiteral("Half one"), big, half);
        insertDeadline(cs(), 1, 1, false, QDate(2024, 2, 2), QStringLiteral("Half two"), big, half);
        insertDeadline(cs(), 1, 1, false, QDate(2024, 2, 3), QStringLiteral("By hand"), edited, Currency::fromWhole(1));
        editByHand({QStringLiteral("UPDATE Transactions SET TrValue = 1e300, TrBalance = 1e300 "
                                   "WHERE TrDescription = 'By hand'")});
        open();
        m_window->listPanel()->chooseLayout(3);
        m_window->listPanel()->expandAll();
        QStringList captions, amounts;
        GridModel *model = m_window->listPanel()->list()->model();
        for (int row = 1; row <= model->rowCount(); ++row) {
            if (model->isGroupRow(row))
                captions << model->groupCaption(row);
            else
                amounts << model->displayText(row, ListColumn::TrValue);
        }
        QCOMPARE(captions, (QStringList{"Deadlines - All Deadlines [amount out of range]",
                                        "Big [$1,000,000,000,000,000.00]", "Edited [amount out of range]"}));
        QCOMPARE(amounts, (QStringList{"$500,000,000,000,000.00", "$500,000,000,000,000.00", "amount out of range"}));

        const QString path = exportThroughMenu(QStringLiteral("exportAction"), QStringLiteral("big.txt"));
        const QString text = QString::fromUtf8(fileBytes(path));
        QVERIFY2(text.contains(QStringLiteral("\"By hand\"\t\"amount out of range\"\t\"amount out of range\"")),
                 qPrintable(text));
        QVERIFY(text.contains(QStringLiteral("\"Half two\"\t\"500000000000000\"\t\"500000000000000\"")));
        QVERIFY(!text.contains(u'-'));
    }

    void changesElsewhereReachTheWindow()
    {
        runSql(cs(), QStringLiteral("INSERT INTO Dbs (DbId, DbName) VALUES (2, 'Office')"));
        runSql(cs(), QStringLiteral("INSERT INTO Accounts (AcId, AcName) VALUES (4, 'Acme')"));
        insertDeadline(cs(), 2, 1, false, QDate(2024, 2, 1), QStringLiteral("Office rent"), 4,
                       Currency::fromWhole(1));
        open();
        QVERIFY(listedDescriptions().isEmpty());
        onNextModal<SheetsDialog>(this, [](SheetsDialog *dialog) {
            dialog->list()->model()->find(1, 2, GridModel::FindMode::Equal, 0, 1);
            dialog->selectSheet();
        });
        trigger("sheetsAction");
        QCOMPARE(listedDescriptions(), QStringList{"Office rent"});
        QCOMPARE(m_session->session().activeSheetName(), QStringLiteral("Office"));
        bool titled = false;
        for (QLabel *label : m_window->findChildren<QLabel *>())
            titled = titled || label->text() == QStringLiteral("Office");
        QVERIFY(titled);

        // A client renamed in its own window is renamed in the list.
        trigger("counterpartiesAction");
        onNextModal<CounterpartyEditor>(this, [](CounterpartyEditor *editor) {
            editor->nameBox()->setText(QStringLiteral("Acme Ltd"));
            editor->findChild<QPushButton *>(QStringLiteral("saveButton"))->click();
        });
        m_window->findChild<CounterpartyList *>()->editCounterparty();
        QCOMPARE(listedTexts(m_window->listPanel()->list(), ListColumn::AcName), QStringList{"Acme Ltd"});
    }

    void enterOnADeleteQuestionKeepsEverything()
    {
        const struct { const char *row; QString command; } cases[] = {
            {"a deadline", "deadline"},
            {"a member of a recurrence", "recurrence"},
            {"a sheet with its deadlines", "sheet"},
            {"a client/supplier", "counterparty"},
            {"the purge", "purge"},
        };
        for (const auto &[row, command] : cases) {
            const auto named = qScopeGuard([row] { if (QTest::currentTestFailed()) qWarning("row: %s", row); });
            cleanup();   // each row on a fresh database
            init();
            runSql(cs(), QStringLiteral("INSERT INTO Dbs (DbId, DbName) VALUES (2, 'Office')"));
            runSql(cs(), QStringLiteral("INSERT INTO Accounts (AcName) VALUES ('Unused Ltd')"));
            insertDeadline(cs(), 2, 1, false, QDate(2024, 2, 1), QStringLiteral("Office rent"), 0, Currency::fromWhole(1));
            insertDeadline(cs(), 1, -2, false, QDate(2024, 2, 5), QStringLiteral("Dentist"), 0, Currency());
            insertDeadline(cs(), 1, -1, false, QDate(2024, 2, 10), QStringLiteral("Loan"), 0, Currency::fromWhole(5), {}, 9, 1, 2);
            insertDeadline(cs(), 1, -1, false, QDate(2024, 3, 10), QStringLiteral("Loan"), 0, Currency::fromWhole(5), {}, 9, 2, 2);
            insertDeadline(cs(), 1, 1, true, QDate(2024, 1, 10), QStringLiteral("Paid"), 0, Currency::fromWhole(7));
            const auto stored = [&] {
                QStringList counts;
                for (const char *table : {"Transactions", "Dbs", "Accounts"})
                    counts << firstValue(cs(), QStringLiteral("SELECT Count(*) FROM ") + QLatin1String(table)).toString();
                return counts;
            };
            const QStringList before = stored();
            open();
            Prompt::ScriptedPrompts &prompts = m_session->prompts();
            bool groupAsked = false;

            if (command == QLatin1String("deadline") || command == QLatin1String("recurrence")) {
                const QString description = command == QLatin1String("deadline") ? QStringLiteral("Dentist") : QStringLiteral("Loan");
                m_window->listPanel()->findDeadline(
                    firstValue(cs(), QStringLiteral("SELECT Min(TrRowId) FROM Transactions WHERE TrDescription='%1'").arg(description))
                        .toInt());
                if (command == QLatin1String("recurrence")) {
                    onNextModal<DeleteFromGroupDialog>(this, [&groupAsked](DeleteFromGroupDialog *dialog) {
                        groupAsked = true;
                        QTest::keyClick(dialog, Qt::Key_Return);
                    });
                }
                prompts.queueEnter();
                QTest::keyClick(m_window->listPanel()->list()->view(), Qt::Key_Delete);
            } else if (command == QLatin1String("sheet")) {
                onNextModal<SheetsDialog>(this, [&prompts](SheetsDialog *dialog) {
                    dialog->list()->model()->find(1, 2, GridModel::FindMode::Equal, 0, 1);
                    prompts.queueEnter();
                    dialog->findChild<QPushButton *>(QStringLiteral("deleteButton"))->click();
                });
                trigger("sheetsAction");
            } else if (command == QLatin1String("counterparty")) {
                trigger("counterpartiesAction");
                auto *counterparties = m_window->findChild<CounterpartyList *>();
                QVERIFY(counterparties);
                counterparties->list()->setCurrentRow(1);
                prompts.queueEnter();
                counterparties->findChild<QAction *>(QStringLiteral("deleteAction"))->trigger();
            } else {
                prompts.queueAnswer(Prompt::Answer::Yes);   // the "Continue?" that opens the window
                onNextModal<PurgeDialog>(this, [&prompts](PurgeDialog *dialog) {
                    prompts.queueEnter();
                    dialog->findChild<QPushButton *>(QStringLiteral("continueButton"))->click();
                });
                trigger("purgeAction");
            }

            if (command == QLatin1String("recurrence")) {
                QVERIFY(groupAsked);
            } else {
                const QList<Prompt::Shown> &shown = prompts.shown();
                const auto question = std::find_if(shown.rbegin(), shown.rend(), [](const Prompt::Shown &s) {
                    return s.buttons == Prompt::Buttons::YesNo;
                });
                QVERIFY(question != shown.rend());
                QCOMPARE(question->enterAnswer, Prompt::Answer::No);
            }
            QCOMPARE(stored(), before);
        }
    }

    // Space, then Ctrl+Z and Ctrl+Y: the Edit menu names the step, and a step whose row another program changed meanwhile is refused.
    void undoAndRedoFollowTheKeys()
    {
        // The menu shows the description on one line, shortened before its counter,
        // its '&' as itself.
        const QString Rent = QStringLiteral("Rent & charges\tof the office in Via Roma, second floor");
        const QString shown = QStringLiteral("Rent & charges of the office in Via Rom\u2026 3 of 12");
        const QString menuShown = QString(shown).replace(u'&', QStringLiteral("&&"));
        for (int k = 1; k <= 12; ++k)
            insertDeadline(cs(), 1, -1, false, QDate(2024, 1, 5).addMonths(k - 1), Rent, 0,
                           Currency::fromWhole(500), {}, 4, k, 12);
        const qint32 third = firstValue(cs(), QStringLiteral("SELECT TrRowId FROM Transactions WHERE TrGrpRow = 3")).toInt();
        const auto done = [&] { return firstValue(cs(), QStringLiteral("SELECT TrDone FROM Transactions WHERE TrRowId = %1").arg(third)).toInt(); };
        open();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
        auto *undo = m_window->findChild<QAction *>(QStringLiteral("undoAction"));
        auto *redo = m_window->findChild<QAction *>(QStringLiteral("redoAction"));
        QVERIFY(undo && redo);
        QCOMPARE(undo->text(), QStringLiteral("&Undo"));
        QVERIFY(!undo->isEnabled());

        m_window->listPanel()->findDeadline(third);
        QWidget *view = m_window->listPanel()->list()->view();
        QTest::keyClick(view, Qt::Key_Space);
        QCOMPARE(done(), 1);
        QCOMPARE(undo->text(), "&Undo Close '" + menuShown + "'");
        QTest::keyClick(view, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(done(), 0);
        QCOMPARE(redo->text(), "&Redo Close '" + menuShown + "'");
        QVERIFY(!undo->isEnabled());
        QTest::keyClick(view, Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(done(), 1);
        QTest::keyClick(view, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);   // nothing left to redo
        QCOMPARE(done(), 1);

        editByHand({QStringLiteral("UPDATE Transactions SET TrNotes = 'paid by hand' WHERE TrRowId = %1").arg(third)});
        m_session->prompts().clear();
        QTest::keyClick(view, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(done(), 1);
        QCOMPARE(m_session->prompts().shownTexts(),
                 QStringList{"\"Close '" + shown + "'\" cannot be undone: the rows it changed have been changed since, "
                                                            "in another window. Nothing was changed."});
        QCOMPARE(undo->text(), "&Undo Close '" + menuShown + "'");

        // A new sheet made the active one is not deleted from under the window.
        m_session->prompts().queueInput(QStringLiteral("Office"));
        onNextModal<SheetsDialog>(this, [](SheetsDialog *dialog) {
            dialog->createSheet();
            QCOMPARE(dialog->selectedName(), QStringLiteral("Office"));
            dialog->selectSheet();
        });
        trigger("sheetsAction");
        QCOMPARE(m_session->session().activeSheetName(), QStringLiteral("Office"));
        QCOMPARE(undo->text(), QStringLiteral("&Undo New deadlines sheet 'Office'"));
        m_session->prompts().clear();
        m_window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
        QTest::keyClick(m_window->listPanel()->list()->view(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(m_session->prompts().shownTexts(),
                 QStringList{"\"Undo New deadlines sheet 'Office'\" would delete the active deadlines sheet. Choose another "
                             "sheet first; nothing was changed."});
        QCOMPARE(firstValue(cs(), QStringLiteral("SELECT DbName FROM Dbs WHERE DbId = 2")).toString(), QStringLiteral("Office"));
    }

    // File > Import shows what it will store, what it refuses and how many clients it
    // creates, writes nothing before Import, then everything, and the list follows.
    void importPreviewsAndWritesOnlyOnConfirm()
    {
        runSql(cs(), QStringLiteral("INSERT INTO Accounts (AcName, AcNotes) VALUES ('Rossi', '')"));
        open();
        const QString path = m_out->filePath(QStringLiteral("bank.csv"));
        QVERIFY(writeFile(path, "Date;Description;Amount;Client\n"
                                "10.01.2024;Rent;-1.200,50;Rossi\n"
                                "11.01.2024;Invoice 7;300;Bianchi\n"
                                "32.01.2024;Broken;1;\n"
                                "12.01.2024;Call the bank;;\n"));
        const int before = firstValue(cs(), QStringLiteral("SELECT COUNT(*) FROM Transactions")).toInt();
        m_session->prompts().queueOpenFile(path);
        bool checked = false;
        onNextModal<ImportDialog>(this, [&](ImportDialog *dialog) {
            QCOMPARE(dialog->kindBox()->currentIndex(), int(ImportKind::Csv));
            dialog->localeBox()->setCurrentIndex(dialog->localeBox()->findData(QStringLiteral("de_DE")));
            QCOMPARE(dialog->datePatternBox()->currentText(), QStringLiteral("dd.MM.yyyy"));
            QCOMPARE(dialog->previewTable()->rowCount(), 3);
            QCOMPARE(dialog->previewTable()->item(0, 0)->text(), QStringLiteral("Debit"));
            QCOMPARE(dialog->refusedTable()->rowCount(), 1);
            QCOMPARE(dialog->refusedTable()->item(0, 0)->text(), QStringLiteral("4"));
            QCOMPARE(dialog->counterpartiesToCreate(), 1);
            QCOMPARE(firstValue(cs(), QStringLiteral("SELECT COUNT(*) FROM Transactions")).toInt(), before);
            clickButton(dialog, QStringLiteral("importButton"));
            QCOMPARE(dialog->imported().rowIds.size(), 3);
            checked = true;
        });
        trigger("importAction");
        QVERIFY(checked);
        QCOMPARE(firstValue(cs(), QStringLiteral("SELECT COUNT(*) FROM Transactions")).toInt(), before + 3);
        QCOMPARE(firstValue(cs(), QStringLiteral("SELECT COUNT(*) FROM Accounts")).toInt(), 2);
        QCOMPARE(firstValue(cs(), QStringLiteral("SELECT TrBalance FROM Transactions WHERE TrDescription = 'Rent'")).toLongLong(),
                 -12005000);
        QTRY_VERIFY(listedDescriptions().contains(QStringLiteral("Invoice 7")));

        // The whole import is one step of Undo, the client it created included.
        auto *undo = m_window->findChild<QAction *>(QStringLiteral("undoAction"));
        QCOMPARE(undo->text(), QStringLiteral("&Undo Import 'bank.csv'"));
        undo->trigger();
        QCOMPARE(firstValue(cs(), QStringLiteral("SELECT COUNT(*) FROM Transactions")).toInt(), before);
        QCOMPARE(firstValue(cs(), QStringLiteral("SELECT COUNT(*) FROM Accounts")).toInt(), 1);
        QTRY_VERIFY(!listedDescriptions().contains(QStringLiteral("Invoice 7")));
    }

private:
    QString exportThroughMenu(const QString &action, const QString &fileName);
    void editByHand(const QStringList &statements);

    std::unique_ptr<QTemporaryDir> m_out;   // a fresh folder per test
};


QString tst_MainWindowRegisters::exportThroughMenu(const QString &action, const QString &fileName)
{
    const QString path = m_out->filePath(fileName);
    m_session->prompts().queueSaveFile(path);
    m_window->findChild<QAction *>(action)->trigger();
    return path;
}

// Runs statements on the database file directly, as another program would.
void tst_MainWindowRegisters::editByHand(const QStringList &statements)
{
    OtherProgram other(Database::dataSource(cs()));
    for (const QString &sql : statements)
        QVERIFY2(other.exec(sql), qPrintable(sql + u' ' + other.lastError()));
}

QTEST_MAIN(tst_MainWindowRegisters)
#include "tst_MainWindowRegisters.moc"
