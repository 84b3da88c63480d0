#include "DeadlineWindowFixture.h"

// The editor of one saved deadline, over a real database.
class tst_DeadlineEditor final : public QObject, DeadlineWindowFixture
{
    Q_OBJECT

private slots:
    void initTestCase() { setUpCase(); }
    void init() { setUp(); }
    void cleanup() { tearDown(); }

    void saveWritesOnlyThatRow()
    {
        editorRows();
        QStringList before = tableRows(m_db->connectionString());
        openRow(3);
        QVERIFY(!inEditor<QComboBox>("typeCombo")->isEnabled());
        QCOMPARE(inEditor<DateBox>("dateEdit")->date(), QDate(2017, 3, 31));

        // Past the fourth member's date: the row keeps its place number all the same.
        inEditor<DateBox>("dateEdit")->setDate(QDate(2017, 5, 15));
        auto *amount = inEditor<QLineEdit>("amountBox");
        amount->setFocus();
        QCOMPARE(amount->selectedText(), amount->text());
        QTest::keyClicks(amount, QStringLiteral("80"));
        QTest::keyClick(amount, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), inEditor<QWidget>("notesBox"));
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("Paid by card"));
        inEditor<QCheckBox>("doneCheck")->setChecked(true);
        QTest::mouseClick(inEditor<QPushButton>("saveButton"), Qt::LeftButton);

        QCOMPARE(rowFields(m_db->connectionString(), 3, "TrDate, TrValue, TrBalance, TrDone, TrNotes, TrGrpRow, TrGrpMDay, TrGrpType"),
                 (QStringList{"2017-05-15", "800000", "-800000", "1", "Paid by card", "3", "4", "m"}));
        QStringList after = tableRows(m_db->connectionString());
        after.removeAt(2);
        before.removeAt(2);
        QCOMPARE(after, before);
        QCOMPARE(m_announced->heard, (QStringList{"deadlines 1", "current 3"}));
        QCOMPARE(m_rowIds, QList<qint32>{3});
        QVERIFY(!m_editor->isVisible());
    }

    // Leaving by Cancel or Esc, a save refused for a cleared description, and a save
    // of untouched values (texts no box may alter) all leave the table as it was.
    void unsavedOrUntouchedWritesNothing()
    {
        const struct { const char *row; QString leaveBy; int trType; QString description; QString notes; qint64 units; QDate date; } cases[] = {
            {"Cancel button", "cancel", 1, "x", {}, 1, QDate(2017, 4, 3)},
            {"Esc", "escape", 1, "x", {}, 1, QDate(2017, 4, 3)},
            {"Save with the description cleared", "cleared", 1, "x", {}, 1, QDate(2017, 4, 3)},
            {"quotes and tabs", "save", 1, "L'affitto \"Via\tRoma\"", "a\tb 'c'", 125000, QDate(2017, 4, 3)},
            {"lines of a note typed elsewhere", "save", -1, "Rent", "one\r\ntwo\r\n\r\nthree\r\n", 10000, QDate(2017, 4, 3)},
            {"largest debit, last day", "save", -1, QString(300, u'x'), QString(40000, u'y'), std::numeric_limits<qint64>::max(),
             QDate(9999, 12, 31)},
            {"early date", "save", 1, "Old", QString(), 1, QDate(1700, 1, 1)},
        };
        for (const auto &[row, leaveBy, trType, description, notes, units, date] : cases) {
            const auto named = qScopeGuard([row] { if (QTest::currentTestFailed()) qWarning("row: %s", row); });
            cleanup();   // each row on a fresh database
            init();
            editorRows();
            DeadlineStore::NewDeadlines d;
            d.type = trType;
            d.description = description;
            d.notes = notes;
            d.value = Currency::fromUnits(units);
            d.dates = {date};
            m_db->save(d);
            const QStringList before = tableRows(m_db->connectionString());
            openRow(6);
            auto *descriptionBox = inEditor<QLineEdit>("descriptionBox");
            if (leaveBy == QLatin1String("save")) {
                QTest::mouseClick(inEditor<QPushButton>("saveButton"), Qt::LeftButton);
                QVERIFY(!m_editor->isVisible());
            } else if (leaveBy == QLatin1String("cleared")) {
                // The cleared field keeps the focus without a word, on Enter and on Save.
                inEditor<QCheckBox>("doneCheck")->setChecked(true);
                descriptionBox->setFocus();
                descriptionBox->clear();
                QTest::keyClick(descriptionBox, Qt::Key_Return);
                QCOMPARE(QApplication::focusWidget(), descriptionBox);
                QTest::mouseClick(inEditor<QPushButton>("saveButton"), Qt::LeftButton);
                QCOMPARE(QApplication::focusWidget(), descriptionBox);
                QVERIFY(m_db->prompts.shown().isEmpty());
                QVERIFY(m_editor->isVisible());
            } else {
                inEditor<QCheckBox>("doneCheck")->setChecked(true);
                descriptionBox->setText(QStringLiteral("Changed"));
                if (leaveBy == QLatin1String("escape"))
                    QTest::keyClick(inEditor<QCheckBox>("doneCheck"), Qt::Key_Escape);
                else
                    QTest::mouseClick(inEditor<QPushButton>("cancelButton"), Qt::LeftButton);
                QVERIFY(!m_editor->isVisible());
            }
            QCOMPARE(tableRows(m_db->connectionString()), before);
            if (leaveBy != QLatin1String("save"))
                QVERIFY(m_announced->heard.isEmpty());
        }
    }

    void opensOnlyWhatTheRowHolds()
    {
        editorRows();
        // A row deleted meanwhile is reported, and nothing is left to save.
        m_editor->open(99);
        QCOMPARE(m_db->prompts.shown().size(), 1);
        QVERIFY(!m_editor->isVisible());
        QTest::mouseClick(inEditor<QPushButton>("saveButton"), Qt::LeftButton);
        QVERIFY(m_announced->heard.isEmpty());

        // An appointment opens without the amount a stray value left in it.
        m_db->raw(QStringLiteral("UPDATE Transactions SET TrValue = 990000, TrBalance = 0 WHERE TrRowId = 5"));
        openRow(5);
        QVERIFY(!(m_editor->windowFlags() & (Qt::WindowCloseButtonHint | Qt::WindowSystemMenuHint)));
        QCOMPARE(unspokenControls(m_editor.get()), QStringList());
        // The type cannot change, so the editor starts on the date.
        QCOMPARE(QApplication::focusWidget(), inEditor<QWidget>("dateEdit"));
        QVERIFY(!inEditor<QLineEdit>("amountBox")->isEnabled());
        QVERIFY(inEditor<QLineEdit>("amountBox")->text().isEmpty());
        inEditor<QLineEdit>("descriptionBox")->setText(QString(300, u'x'));
        QCOMPARE(inEditor<QLineEdit>("descriptionBox")->text().size(), 255);
        QTest::mouseClick(inEditor<QPushButton>("saveButton"), Qt::LeftButton);
        QCOMPARE(rowFields(m_db->connectionString(), 5, "TrValue, TrBalance, TrType"), (QStringList{"0", "0", "-2"}));
    }

    void changesMadeMeanwhileSurvive()
    {
        editorRows();
        // The same box changed on both sides: the user is told and sees what is stored.
        openRow(3);
        m_db->raw(QStringLiteral("UPDATE Transactions SET TrDescription = 'Rent March' WHERE TrRowId = 3"));
        inEditor<QLineEdit>("descriptionBox")->setText(QStringLiteral("Rent (typo)"));
        inEditor<QCheckBox>("doneCheck")->setChecked(true);
        QTest::mouseClick(inEditor<QPushButton>("saveButton"), Qt::LeftButton);
        QCOMPARE(m_db->prompts.shownTexts(), QStringList{Texts::text(2105)});
        QVERIFY(m_editor->isVisible());
        QVERIFY(m_announced->heard.isEmpty());
        QCOMPARE(inEditor<QLineEdit>("descriptionBox")->text(), QStringLiteral("Rent March"));
        QVERIFY(inEditor<QCheckBox>("doneCheck")->isChecked());
        QCOMPARE(rowFields(m_db->connectionString(), 3, "TrDescription, TrDone"), (QStringList{"Rent March", "0"}));
        // Saved again, the check box's change goes in over the stored description.
        QTest::mouseClick(inEditor<QPushButton>("saveButton"), Qt::LeftButton);
        QVERIFY(!m_editor->isVisible());
        QCOMPARE(rowFields(m_db->connectionString(), 3, "TrDescription, TrDone"), (QStringList{"Rent March", "1"}));
    }
};

QTEST_MAIN(tst_DeadlineEditor)
#include "tst_DeadlineEditor.moc"
