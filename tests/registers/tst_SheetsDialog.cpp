#include "RegisterTestDb.h"

#include "platform/grid/DataGrid.h"
#include "platform/grid/GridView.h"
#include "platform/grid/GridModel.h"
#include "sheets/SheetsDialog.h"
#include "startup/Setting.h"
#include "store/SheetStore.h"
#include "../support/Announcements.h"

// The sheets window: selecting, creating, renaming and deleting sheets, and the
// refusals that protect the only sheet, the active sheet and sheet 1.
class tst_SheetsDialog final : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_t = std::make_unique<RegisterTestDb>();
        QVERIFY(m_t->db.ok());
        m_t->db.session().setActiveSheet(1, QStringLiteral("Deadlines"));
        m_announced = std::make_unique<Announcements>(m_t->db.session().deadlineRegister());
    }

    void cleanup()
    {
        m_announced.reset();
        m_t.reset();
    }

    void deleteRefusals_data()
    {
        QTest::addColumn<bool>("twoSheets");
        QTest::addColumn<int>("active");
        QTest::addColumn<int>("chosen");
        QTest::addColumn<QString>("message");
        QTest::newRow("the only sheet") << false << 1 << 1 << Texts::text(1405);
        QTest::newRow("the active sheet") << true << 2 << 2 << Texts::text(1406);
        // Sheet 1 is refused even when another sheet is active.
        QTest::newRow("sheet 1") << true << 2 << 1 << QStringLiteral("UNO");
    }

    void deleteRefusals()
    {
        QFETCH(bool, twoSheets);
        QFETCH(int, active);
        QFETCH(int, chosen);
        QFETCH(QString, message);
        if (twoSheets)
            addSheet(2, QStringLiteral("Office"));
        insertDeadline(m_t->cs(), chosen, 1, false, QDate(2024, 1, 1), QStringLiteral("Kept"), 0, Currency::fromWhole(1));
        m_t->db.session().setActiveSheet(active, QStringLiteral("x"));
        m_t->prompts.queueAnswer(Prompt::Answer::Yes);   // would confirm, were it asked
        SheetsDialog dialog(m_t->db.session());
        choose(dialog, chosen);
        const int sheets = sheetCount();
        clickButton(&dialog, QStringLiteral("deleteButton"));
        QCOMPARE(m_t->prompts.shownTexts(), QStringList{message});
        QCOMPARE(sheetCount(), sheets);
        QCOMPARE(deadlineCount(), 1);
    }

    void deleteTakesTheSheetWithItsDeadlinesOrNothing()
    {
        addSheet(3, QStringLiteral("Old"));
        m_t->db.raw(QStringLiteral("INSERT INTO Accounts (AcId, AcName) VALUES (4, 'Rossi')"));
        insertDeadline(m_t->cs(), 1, 1, false, QDate(2024, 1, 1), QStringLiteral("Stays"), 4, Currency::fromWhole(1));
        insertDeadline(m_t->cs(), 3, 1, false, QDate(2024, 1, 1), QStringLiteral("Goes"), 4, Currency::fromWhole(1));
        insertDeadline(m_t->cs(), 3, -1, true, QDate(2024, 2, 1), QStringLiteral("Goes too"), 0, Currency::fromWhole(2));
        SheetsDialog dialog(m_t->db.session());
        choose(dialog, 3);

        m_t->prompts.queueAnswer(Prompt::Answer::No);
        clickButton(&dialog, QStringLiteral("deleteButton"));
        QCOMPARE(m_t->prompts.shownTexts(), QStringList{Texts::text(1407)});
        QCOMPARE(sheetCount(), 2);
        QCOMPARE(deadlineCount(), 3);

        // The deadlines go first; when the sheet's own delete then fails, both tables stay.
        m_t->db.raw(QStringLiteral("CREATE TRIGGER refuse BEFORE DELETE ON Dbs BEGIN SELECT RAISE(ABORT, 'disk says no'); END"));
        m_t->prompts.queueAnswer(Prompt::Answer::Yes);
        clickButton(&dialog, QStringLiteral("deleteButton"));
        QCOMPARE(m_t->prompts.shown().last().icon, Prompt::Icon::Critical);
        QVERIFY(m_t->prompts.shownTexts().last().contains(QStringLiteral("disk says no")));
        QCOMPARE(sheetCount(), 2);
        QCOMPARE(deadlineCount(), 3);
        QVERIFY(m_announced->heard.isEmpty());

        m_t->db.raw(QStringLiteral("DROP TRIGGER refuse"));
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
        QCOMPARE(m_t->count(QStringLiteral("SELECT Count(AcId) FROM Accounts")), 1);
    }

    void renameAndNewAskForTheName()
    {
        addSheet(7, QStringLiteral("Seven"));
        SheetsDialog dialog(m_t->db.session());
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        // Enter on the focused button presses it, as a click does; the rename reaches the active sheet.
        m_t->prompts.queueInput(QStringLiteral("Home's"));
        auto *rename = dialog.findChild<QPushButton *>(QStringLiteral("editButton"));
        rename->setFocus(Qt::TabFocusReason);
        QTest::keyClick(rename, Qt::Key_Return);
        QCOMPARE(SheetStore(m_t->cs()).name(1), QStringLiteral("Home's"));
        QCOMPARE(m_t->db.session().activeSheetName(), QStringLiteral("Home's"));
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
        QCOMPARE(m_t->db.session().activeSheetId(), 1);
    }

    void selectMakesActiveAndIsRemembered()
    {
        addSheet(2, QStringLiteral("Office"));
        SheetsDialog dialog(m_t->db.session());
        QCOMPARE(dialog.selectedId(), 1);   // opens on the active sheet
        choose(dialog, 2);
        dialog.show();
        QTest::keyClick(dialog.list()->view(), Qt::Key_Return);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(m_t->db.session().activeSheetId(), 2);
        QCOMPARE(m_t->db.session().activeSheetName(), QStringLiteral("Office"));
        QCOMPARE(m_t->db.session().settings().integer(Setting::ActiveSheet), 2);
        QCOMPARE(m_announced->heard, QStringList{"active sheet 2"});

        // The next start reads the same sheet.
        Session next(SettingsStore(m_t->db.session().settings().fileName()));
        next.setConnectionString(m_t->cs());
        next.loadActiveSheet();
        QCOMPARE(next.activeSheetId(), 2);
    }

private:
    void addSheet(int id, const QString &name)
    {
        m_t->db.raw(QStringLiteral("INSERT INTO Dbs (DbId, DbName) VALUES (%1, '%2')").arg(id).arg(name));
    }

    void choose(SheetsDialog &dialog, qint32 id)
    {
        GridModel *model = dialog.list()->model();
        QVERIFY(model->find(1, id, GridModel::FindMode::Equal, 0, 1) > 0);
        QCOMPARE(dialog.selectedId(), id);
    }

    int sheetCount() const { return m_t->count(QStringLiteral("SELECT Count(DbId) FROM Dbs")); }
    int deadlineCount() const { return m_t->count(QStringLiteral("SELECT Count(TrRowId) FROM Transactions")); }

    std::unique_ptr<RegisterTestDb> m_t;
    std::unique_ptr<Announcements> m_announced;
};

QTEST_MAIN(tst_SheetsDialog)
#include "tst_SheetsDialog.moc"
