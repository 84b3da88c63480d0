#include "AccessibleNames.h"
#include "DeadlineTestDb.h"
#include "../support/Announcements.h"

#include "deadlines/DeadlineEditor.h"
#include "platform/Clock.h"
#include "platform/DateBox.h"
#include "platform/Pauses.h"
#include "platform/Prompts.h"
#include "startup/Texts.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <limits>

class tst_DeadlineEditor final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
        Pauses::setScale(0);
        Clock::pin(QDate(2017, 4, 3));
    }

    void init()
    {
        m_db = std::make_unique<DeadlineTestDb>();
        QVERIFY(m_db->ok());
        m_prompts = std::make_unique<Prompt::ScriptedPrompts>();
        m_announced = std::make_unique<Announcements>(m_db->session().deadlineRegister());
        m_form = std::make_unique<DeadlineEditor>(m_db->session());
        m_announced->follow(m_form.get());

        // A monthly group of four debits of 100 (rows 1 to 4) and an appointment (row 5).
        m_db->save(rent(QDate(2017, 1, 31), 4));
        DeadlineStore::NewDeadlines appointment = rent(QDate(2017, 1, 31), 0);
        appointment.type = -2;
        appointment.description = QStringLiteral("Dentist");
        m_db->save(appointment);
        m_rowIds.clear();
        connect(&m_db->session().deadlineRegister(), &Register::deadlinesChanged, this,
                [this](qint32, const QList<qint32> &rowIds) { m_rowIds.append(rowIds); });
    }

    void cleanup()
    {
        m_form.reset();
        m_announced.reset();
        m_prompts.reset();
        m_db.reset();
    }

    void saveWritesOnlyThatRow()
    {
        QStringList before = tableRows(m_db->connectionString());
        openRow(3);
        QVERIFY(!child<QComboBox>("typeCombo")->isEnabled());
        QCOMPARE(child<DateBox>("dateEdit")->date(), QDate(2017, 3, 31));

        // Past the fourth member's date: the row keeps its place number all the same.
        child<DateBox>("dateEdit")->setDate(QDate(2017, 5, 15));
        auto *amount = child<QLineEdit>("amountBox");
        amount->setFocus();
        QCOMPARE(amount->selectedText(), amount->text());
        QTest::keyClicks(amount, QStringLiteral("80"));
        QTest::keyClick(amount, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), child<QWidget>("notesBox"));
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("Paid by card"));
        child<QCheckBox>("doneCheck")->setChecked(true);
        QTest::mouseClick(child<QPushButton>("saveButton"), Qt::LeftButton);

        QCOMPARE(rowFields(m_db->connectionString(), 3, "TrDate, TrValue, TrBalance, TrDone, TrNotes, TrGrpRow, TrGrpMDay, TrGrpType"),
                 (QStringList{"2017-05-15", "800000", "-800000", "1", "Paid by card", "3", "4", "m"}));
        QStringList after = tableRows(m_db->connectionString());
        after.removeAt(2);
        before.removeAt(2);
        QCOMPARE(after, before);
        QCOMPARE(m_announced->heard, (QStringList{"deadlines 1", "current 3"}));
        QCOMPARE(m_rowIds, QList<qint32>{3});
        QVERIFY(!m_form->isVisible());
    }

    void unsavedChangesWriteNothing_data()
    {
        QTest::addColumn<QString>("leaveBy");
        QTest::newRow("Cancel button") << "cancel";
        QTest::newRow("Esc") << "escape";
        QTest::newRow("Save with the description cleared") << "save";
    }

    void unsavedChangesWriteNothing()
    {
        QFETCH(QString, leaveBy);
        const QStringList before = tableRows(m_db->connectionString());
        openRow(2);
        child<QCheckBox>("doneCheck")->setChecked(true);
        auto *description = child<QLineEdit>("descriptionBox");
        if (leaveBy == QLatin1String("save")) {
            // The cleared field keeps the focus without a word, on Enter and on Save.
            description->setFocus();
            description->clear();
            QTest::keyClick(description, Qt::Key_Return);
            QCOMPARE(QApplication::focusWidget(), description);
            QTest::mouseClick(child<QPushButton>("saveButton"), Qt::LeftButton);
            QCOMPARE(QApplication::focusWidget(), description);
            QVERIFY(m_prompts->shown().isEmpty());
            QVERIFY(m_form->isVisible());
        } else {
            description->setText(QStringLiteral("Changed"));
            if (leaveBy == QLatin1String("escape"))
                QTest::keyClick(child<QCheckBox>("doneCheck"), Qt::Key_Escape);
            else
                QTest::mouseClick(child<QPushButton>("cancelButton"), Qt::LeftButton);
            QVERIFY(!m_form->isVisible());
        }
        QCOMPARE(tableRows(m_db->connectionString()), before);
        QVERIFY(m_announced->heard.isEmpty());
    }

    void opensOnlyWhatTheRowHolds()
    {
        // A row deleted meanwhile is reported, and nothing is left to save.
        m_form->open(99);
        QCOMPARE(m_prompts->shown().size(), 1);
        QVERIFY(!m_form->isVisible());
        QTest::mouseClick(child<QPushButton>("saveButton"), Qt::LeftButton);
        QVERIFY(m_announced->heard.isEmpty());

        // An appointment opens without the amount a stray value left in it.
        m_db->raw(QStringLiteral("UPDATE Transactions SET TrValue = 990000, TrBalance = 0 WHERE TrRowId = 5"));
        openRow(5);
        QVERIFY(!(m_form->windowFlags() & (Qt::WindowCloseButtonHint | Qt::WindowSystemMenuHint)));
        QCOMPARE(AccessibleNames::unnamed(m_form.get()), QStringList());
        QCOMPARE(AccessibleNames::unlabelled(m_form.get()), QStringList());
        // The type cannot change, so the editor starts on the date.
        QCOMPARE(QApplication::focusWidget(), child<QWidget>("dateEdit"));
        QVERIFY(!child<QLineEdit>("amountBox")->isEnabled());
        QVERIFY(child<QLineEdit>("amountBox")->text().isEmpty());
        child<QLineEdit>("descriptionBox")->setText(QString(300, u'x'));
        QCOMPARE(child<QLineEdit>("descriptionBox")->text().size(), 255);
        QTest::mouseClick(child<QPushButton>("saveButton"), Qt::LeftButton);
        QCOMPARE(rowFields(m_db->connectionString(), 5, "TrValue, TrBalance, TrType"), (QStringList{"0", "0", "-2"}));
    }

    void untouchedSaveKeepsTheStoredValues_data()
    {
        QTest::addColumn<int>("trType");
        QTest::addColumn<QString>("description");
        QTest::addColumn<QString>("notes");
        QTest::addColumn<qint64>("units");
        QTest::addColumn<QDate>("date");

        QTest::newRow("quotes and tabs") << 1 << QStringLiteral("L'affitto \"Via\tRoma\"") << QStringLiteral("a\tb 'c'")
                                         << qint64(125000) << QDate(2017, 4, 3);
        QTest::newRow("lines of a note typed elsewhere")
            << -1 << QStringLiteral("Rent") << QStringLiteral("one\r\ntwo\r\n\r\nthree\r\n") << qint64(10000)
            << QDate(2017, 4, 3);
        QTest::newRow("largest debit, last day") << -1 << QString(300, u'x') << QString(40000, u'y')
                                                 << std::numeric_limits<qint64>::max() << QDate(9999, 12, 31);
        QTest::newRow("early date") << 1 << QStringLiteral("Old") << QString() << qint64(1) << QDate(1700, 1, 1);
    }

    void untouchedSaveKeepsTheStoredValues()
    {
        QFETCH(int, trType);
        QFETCH(QString, description);
        QFETCH(QString, notes);
        QFETCH(qint64, units);
        QFETCH(QDate, date);
        DeadlineStore::NewDeadlines d;
        d.type = trType;
        d.description = description;
        d.notes = notes;
        d.value = Currency::fromUnits(units);
        d.dates = {date};
        m_db->save(d);
        const QStringList before = tableRows(m_db->connectionString());

        openRow(6);
        QTest::mouseClick(child<QPushButton>("saveButton"), Qt::LeftButton);
        QVERIFY(!m_form->isVisible());
        QCOMPARE(tableRows(m_db->connectionString()), before);
    }

    void changesMadeMeanwhileSurvive()
    {
        // The same box changed on both sides: the user is told and sees what is stored.
        openRow(3);
        m_db->raw(QStringLiteral("UPDATE Transactions SET TrDescription = 'Rent March' WHERE TrRowId = 3"));
        child<QLineEdit>("descriptionBox")->setText(QStringLiteral("Rent (typo)"));
        child<QCheckBox>("doneCheck")->setChecked(true);
        QTest::mouseClick(child<QPushButton>("saveButton"), Qt::LeftButton);
        QCOMPARE(m_prompts->shownTexts(), QStringList{Texts::text(2105)});
        QVERIFY(m_form->isVisible());
        QVERIFY(m_announced->heard.isEmpty());
        QCOMPARE(child<QLineEdit>("descriptionBox")->text(), QStringLiteral("Rent March"));
        QVERIFY(child<QCheckBox>("doneCheck")->isChecked());
        QCOMPARE(rowFields(m_db->connectionString(), 3, "TrDescription, TrDone"), (QStringList{"Rent March", "0"}));
        // Saved again, the check box's change goes in over the stored description.
        QTest::mouseClick(child<QPushButton>("saveButton"), Qt::LeftButton);
        QVERIFY(!m_form->isVisible());
        QCOMPARE(rowFields(m_db->connectionString(), 3, "TrDescription, TrDone"), (QStringList{"Rent March", "1"}));
    }

private:
    template<typename T> T *child(const char *name) const { return controlOf<T>(m_form.get(), name); }

    void openRow(int rowId)
    {
        m_form->open(rowId);
        QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
    }

    std::unique_ptr<DeadlineTestDb> m_db;
    std::unique_ptr<Prompt::ScriptedPrompts> m_prompts;
    std::unique_ptr<Announcements> m_announced;
    std::unique_ptr<DeadlineEditor> m_form;
    QList<qint32> m_rowIds;   // the rows the saves announced
};

QTEST_MAIN(tst_DeadlineEditor)
#include "tst_DeadlineEditor.moc"
