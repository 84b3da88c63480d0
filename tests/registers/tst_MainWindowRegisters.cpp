#include "counterparties/CounterpartyList.h"
#include "deadlines/DeleteFromGroupDialog.h"
#include "deadlines/PurgeDialog.h"
#include "mainwindow/DeadlineList.h"
#include "mainwindow/MainWindow.h"
#include "platform/grid/DataGrid.h"
#include "platform/grid/GridView.h"
#include "store/SheetsDialog.h"

#include "../support/ListedRows.h"
#include "../support/MainWindowSession.h"
#include "../support/TestRows.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <memory>

// The main window's File menu reaching the exports and the sheets: what the
// files hold, how a failed write is told, and the window following a new sheet;
// and every question that deletes, reached from the window, answered by Enter.
class tst_MainWindowRegisters final : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void exportOfAnEmptyList();
    void exportFollowsTheGroupedList();
    void unwritableFileIsToldAndLeavesNothing();
    void calendarExportThroughTheMenu();
    void chosenSheetReachesTheWindow();
    void enterOnADeleteQuestionKeepsEverything_data();
    void enterOnADeleteQuestionKeepsEverything();

private:
    void open();
    QString exportThroughMenu(const QString &action, const QString &fileName);
    QStringList listedDescriptions() const;

    std::unique_ptr<MainWindowSession> m_session;
    std::unique_ptr<MainWindow> m_window;
    std::unique_ptr<QTemporaryDir> m_out;   // a fresh folder per test
};

void tst_MainWindowRegisters::init()
{
    m_session = std::make_unique<MainWindowSession>(QDate(2024, 1, 31));
    QVERIFY(m_session->ok());
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    m_out = std::make_unique<QTemporaryDir>();
}

void tst_MainWindowRegisters::cleanup()
{
    m_window.reset();
    m_session.reset();
}

void tst_MainWindowRegisters::open()
{
    m_window = std::make_unique<MainWindow>(m_session->session());
    m_window->show();
    QVERIFY(m_window->isListReady());
}

QString tst_MainWindowRegisters::exportThroughMenu(const QString &action, const QString &fileName)
{
    const QString path = m_out->filePath(fileName);
    m_session->prompts().queueSaveFile(path);
    m_window->findChild<QAction *>(action)->trigger();
    return path;
}

QStringList tst_MainWindowRegisters::listedDescriptions() const
{
    return listedTexts(m_window->list(), ListColumn::TrDescription);
}

void tst_MainWindowRegisters::exportOfAnEmptyList()
{
    open();
    // The name the user typed without an extension gets ".txt".
    exportThroughMenu(QStringLiteral("exportAction"), QStringLiteral("empty"));
    QFile file(m_out->filePath(QStringLiteral("empty.txt")));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("Type\tDone\tDate\tDescription\tAmount\tTotal\tClient/Supplier\t"
                                        "Client/Supplier Notes\r\n"));
}

void tst_MainWindowRegisters::exportFollowsTheGroupedList()
{
    const QString cs = m_session->connectionString();
    runJet(cs, QStringLiteral("INSERT INTO Accounts (AcName, AcNotes) VALUES ('Caffè \"Roma\"', 'tel.\t02')"));
    const int acId = firstValue(cs, QStringLiteral("SELECT Max(AcId) FROM Accounts")).toInt();
    insertDeadline(cs, 1, 1, true, QDate(2024, 3, 5), QStringLiteral("March credit"), acId, Currency::fromWhole(100));
    insertDeadline(cs, 1, -1, false, QDate(2024, 1, 10), QStringLiteral("January debit"), 0, Currency::fromWhole(100));
    insertDeadline(cs, 1, -1, false, QDate(2024, 2, 10), QStringLiteral("Loan"), 0, Currency::fromWhole(5), {}, 9, 1, 2);
    insertDeadline(cs, 1, -1, false, QDate(2024, 3, 10), QStringLiteral("Loan"), 0, Currency::fromWhole(5), {}, 9, 2, 2);
    insertDeadline(cs, 2, 1, false, QDate(2024, 1, 1), QStringLiteral("Other sheet"), 0, Currency::fromWhole(1));
    open();
    m_window->chooseLayout(2);
    m_window->expandAll();
    const QStringList order = listedDescriptions();
    QCOMPARE(order.size(), 4);

    const QString path = exportThroughMenu(QStringLiteral("exportAction"), QStringLiteral("list.txt"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(file.readAll());
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
    QVERIFY(lines.contains(QStringLiteral("\"Debit\"\t\"Open\"\t\"1/10/2024\"\t\"January debit\"\t\"100\"\t\"-100\"\t"
                                          "\"\"\t\"\"")));
    // Recurrence members carry the counter the list shows.
    QVERIFY(text.contains(QStringLiteral("\"Loan 2 of 2\"")));
    QVERIFY(!text.contains(QStringLiteral("Other sheet")));
}

void tst_MainWindowRegisters::unwritableFileIsToldAndLeavesNothing()
{
    open();
    // A folder that does not exist stands for any folder the user may not write.
    const QString path = m_out->filePath(QStringLiteral("missing/list.txt"));
    m_session->prompts().queueSaveFile(path);
    m_window->findChild<QAction *>(QStringLiteral("exportAction"))->trigger();
    const Prompt::Shown &told = m_session->prompts().shown().last();
    QCOMPARE(told.icon, Prompt::Icon::Critical);
    QVERIFY(told.text.startsWith(Texts::text(2500)));
    QVERIFY(told.text.contains(QStringLiteral("list.txt")));
    QVERIFY(!QFile::exists(path));
    QCOMPARE(QDir(m_out->path()).entryList(QDir::Files | QDir::Hidden), QStringList());

    // Cancel in the dialog writes nothing and says nothing.
    m_session->prompts().clear();
    m_window->findChild<QAction *>(QStringLiteral("exportCalendarAction"))->trigger();
    QCOMPARE(m_session->prompts().shownTexts().size(), 1);
    QCOMPARE(QDir(m_out->path()).entryList(QDir::Files | QDir::Hidden), QStringList());
}

void tst_MainWindowRegisters::calendarExportThroughTheMenu()
{
    const QString cs = m_session->connectionString();
    insertDeadline(cs, 1, -1, false, QDate(2024, 2, 10), QStringLiteral("Rent"), 0, Currency::fromWhole(5), {}, 9, 1, 2);
    insertDeadline(cs, 1, -1, false, QDate(2024, 3, 10), QStringLiteral("Rent"), 0, Currency::fromWhole(5), {}, 9, 2, 2);
    insertDeadline(cs, 1, 1, true, QDate(2024, 1, 5), QStringLiteral("Paid long ago"), 0, Currency::fromWhole(1));
    open();
    m_window->chooseLayout(1);
    const QString path = exportThroughMenu(QStringLiteral("exportCalendarAction"), QStringLiteral("deadlines"));
    QFile file(path + QStringLiteral(".ics"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray ics = file.readAll();
    QVERIFY(ics.startsWith("BEGIN:VCALENDAR"));
    QCOMPARE(ics.count("BEGIN:VEVENT"), 2);   // open deadlines only
    QVERIFY(ics.contains("SUMMARY:Rent 2 of 2"));
    QVERIFY(ics.contains("DTSTART;VALUE=DATE:20240310"));
    QVERIFY(!ics.contains("Paid long ago"));
}

void tst_MainWindowRegisters::chosenSheetReachesTheWindow()
{
    runJet(m_session->connectionString(), QStringLiteral("INSERT INTO Dbs (DbId, DbName) VALUES (2, 'Office')"));
    insertDeadline(m_session->connectionString(), 2, 1, false, QDate(2024, 2, 1), QStringLiteral("Office rent"), 0,
                   Currency::fromWhole(1));
    open();
    QVERIFY(listedDescriptions().isEmpty());
    QTimer::singleShot(0, this, [] {
        auto *dialog = qobject_cast<SheetsDialog *>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        dialog->list()->model()->find(1, 2, GridModel::FindMode::Equal, 0, 1);
        dialog->selectSheet();
    });
    m_window->findChild<QAction *>(QStringLiteral("sheetsAction"))->trigger();
    QCOMPARE(listedDescriptions(), QStringList{"Office rent"});
    QCOMPARE(m_session->session().activeSheetName(), QStringLiteral("Office"));
    bool titled = false;
    for (QLabel *label : m_window->findChildren<QLabel *>())
        titled = titled || label->text() == QStringLiteral("Office");
    QVERIFY(titled);
}

void tst_MainWindowRegisters::enterOnADeleteQuestionKeepsEverything_data()
{
    QTest::addColumn<QString>("command");
    QTest::newRow("a deadline") << "deadline";
    QTest::newRow("a member of a recurrence") << "recurrence";
    QTest::newRow("a sheet with its deadlines") << "sheet";
    QTest::newRow("a client/supplier") << "counterparty";
    QTest::newRow("the purge") << "purge";
}

void tst_MainWindowRegisters::enterOnADeleteQuestionKeepsEverything()
{
    QFETCH(QString, command);
    const QString cs = m_session->connectionString();
    runJet(cs, QStringLiteral("INSERT INTO Dbs (DbId, DbName) VALUES (2, 'Office')"));
    runJet(cs, QStringLiteral("INSERT INTO Accounts (AcName) VALUES ('Unused Ltd')"));
    insertDeadline(cs, 2, 1, false, QDate(2024, 2, 1), QStringLiteral("Office rent"), 0, Currency::fromWhole(1));
    insertDeadline(cs, 1, -2, false, QDate(2024, 2, 5), QStringLiteral("Dentist"), 0, Currency());
    insertDeadline(cs, 1, -1, false, QDate(2024, 2, 10), QStringLiteral("Loan"), 0, Currency::fromWhole(5), {}, 9, 1, 2);
    insertDeadline(cs, 1, -1, false, QDate(2024, 3, 10), QStringLiteral("Loan"), 0, Currency::fromWhole(5), {}, 9, 2, 2);
    insertDeadline(cs, 1, 1, true, QDate(2024, 1, 10), QStringLiteral("Paid"), 0, Currency::fromWhole(7));
    const auto stored = [&] {
        QStringList counts;
        for (const char *table : {"Transactions", "Dbs", "Accounts"})
            counts << firstValue(cs, QStringLiteral("SELECT Count(*) FROM ") + QLatin1String(table)).toString();
        return counts;
    };
    const QStringList before = stored();
    open();
    Prompt::ScriptedPrompts &prompts = m_session->prompts();
    bool groupAsked = false;

    if (command == QLatin1String("deadline") || command == QLatin1String("recurrence")) {
        const QString description = command == QLatin1String("deadline") ? QStringLiteral("Dentist") : QStringLiteral("Loan");
        m_window->findDeadline(
            firstValue(cs, QStringLiteral("SELECT Min(TrRowId) FROM Transactions WHERE TrDescription='%1'").arg(description))
                .toInt());
        if (command == QLatin1String("recurrence")) {
            QTimer::singleShot(0, this, [&groupAsked] {
                auto *dialog = qobject_cast<DeleteFromGroupDialog *>(QApplication::activeModalWidget());
                QVERIFY(dialog);
                groupAsked = true;
                QTest::keyClick(dialog, Qt::Key_Return);
                if (dialog->isVisible())
                    dialog->reject();
            });
        }
        prompts.queueEnter();
        QTest::keyClick(m_window->list()->view(), Qt::Key_Delete);
    } else if (command == QLatin1String("sheet")) {
        QTimer::singleShot(0, this, [&prompts] {
            auto *dialog = qobject_cast<SheetsDialog *>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            dialog->list()->model()->find(1, 2, GridModel::FindMode::Equal, 0, 1);
            prompts.queueEnter();
            dialog->findChild<QPushButton *>(QStringLiteral("deleteButton"))->click();
            dialog->reject();
        });
        m_window->findChild<QAction *>(QStringLiteral("sheetsAction"))->trigger();
    } else if (command == QLatin1String("counterparty")) {
        m_window->findChild<QAction *>(QStringLiteral("counterpartiesAction"))->trigger();
        auto *counterparties = m_window->findChild<CounterpartyList *>();
        QVERIFY(counterparties);
        counterparties->list()->setCurrentRow(1);
        prompts.queueEnter();
        counterparties->findChild<QAction *>(QStringLiteral("deleteAction"))->trigger();
    } else {
        prompts.queueAnswer(Prompt::Answer::Yes);   // the "Continue?" that opens the window
        QTimer::singleShot(0, this, [&prompts] {
            auto *dialog = qobject_cast<PurgeDialog *>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            prompts.queueEnter();
            dialog->findChild<QPushButton *>(QStringLiteral("continueButton"))->click();
            if (dialog->isVisible())
                dialog->reject();
        });
        m_window->findChild<QAction *>(QStringLiteral("purgeAction"))->trigger();
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

QTEST_MAIN(tst_MainWindowRegisters)
#include "tst_MainWindowRegisters.moc"
