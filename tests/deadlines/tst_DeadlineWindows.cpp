#include "DeadlineWindowFixture.h"

namespace {

// A click (key 0) or a key press on the control as the window system delivers
// it: queued for its window, handled when the event loop next runs.
void post(QWidget *control, int key = 0)
{
    QWindow *window = control->window()->windowHandle();
    const QPointF at = control->mapTo(control->window(), control->rect().center());
    const QPointF global = control->mapToGlobal(control->rect().center());
    for (bool press : {true, false}) {
        if (key)
            QCoreApplication::postEvent(window, new QKeyEvent(press ? QEvent::KeyPress : QEvent::KeyRelease, key, Qt::NoModifier));
        else
            QCoreApplication::postEvent(window, new QMouseEvent(press ? QEvent::MouseButtonPress : QEvent::MouseButtonRelease,
                                                                at, global, Qt::LeftButton,
                                                                press ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier));
    }
}

// What a save on sheet 1 announces: the sheet's deadlines changed, and the
// deadline stored on that date (the first, if several) is to become current.
QStringList savedOn(const QString &connectionString, const QDate &date)
{
    const qint32 rowId =
        firstValue(connectionString, QStringLiteral("SELECT Min(TrRowId) FROM Transactions WHERE TrDate='%1'")
                                         .arg(date.toString(Qt::ISODate)))
            .toInt();
    return {QStringLiteral("deadlines 1"), QStringLiteral("current %1").arg(rowId)};
}

} // namespace

// The new-deadline window and the editor of a saved deadline, driven by keys and
// clicks over a real database; the questions before adding to or deleting from a
// recurrence.
class tst_DeadlineWindows final : public QObject, DeadlineWindowFixture
{
    Q_OBJECT

private slots:
    void initTestCase() { setUpCase(); }
    void init() { setUp(); }
    void cleanup() { tearDown(); }

    void savesADebitTypedWithTheKeyboard()
    {
        m_db->raw(QStringLiteral("INSERT INTO Accounts (AcName) VALUES ('Zeta'), ('Alfa')"));
        open();
        QVERIFY(!child<QLineEdit>("amountBox")->isEnabled());

        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);   // appointment -> debit
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), child<QLineEdit>("descriptionBox"));
        QCOMPARE(child<QStatusBar>("statusBar")->currentMessage(), Texts::text(1112));   // the field's own hint
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("L'affitto"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), child<QComboBox>("counterpartyCombo"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);     // the first name: Alfa
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Enter);
        QCOMPARE(QApplication::focusWidget(), child<QLineEdit>("amountBox"));
        // The zero amount is selected on entry, so typing replaces it; the point
        // becomes the decimal comma and a letter is dropped.
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("12x.5"));
        QCOMPARE(child<QLineEdit>("amountBox")->text(), QStringLiteral("12,5"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), child<QPlainTextEdit>("notesBox"));
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("Call O'Brien"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(child<QPlainTextEdit>("notesBox")->toPlainText(), QStringLiteral("Call O'Brien"));

        // On the focused Save button, Enter saves instead of moving on.
        child<QPushButton>("saveButton")->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);

        QCOMPARE(stored(), QStringList{"2017-04-03|-1|L'affitto|Call O'Brien|125000|-125000|n|0|0|0"});
        QCOMPARE(firstValue(m_db->connectionString(),
                            QStringLiteral("SELECT AcName FROM Transactions INNER JOIN Accounts ON Transactions.TrAcId = Accounts.AcId"))
                     .toString(),
                 QStringLiteral("Alfa"));

        // What was saved becomes the list's current row.
        QCOMPARE(m_announced->heard, savedOn(m_db->connectionString(), QDate(2017, 4, 3)));
        QVERIFY(!m_form->isVisible());
        QVERIFY(m_db->prompts.shown().isEmpty());
    }

    void chromeEmptyDescriptionEscapeAndReopening()
    {
        open();
        // Left only through Save, Cancel or Esc: a title bar without Close.
        QVERIFY(m_form->windowFlags() & Qt::CustomizeWindowHint);
        QVERIFY(!(m_form->windowFlags() & (Qt::WindowCloseButtonHint | Qt::WindowSystemMenuHint)));

        QCOMPARE(unspokenControls(m_form.get()), QStringList());

        // A description of blanks is none.
        auto *description = child<QLineEdit>("descriptionBox");
        description->setFocus();
        QTest::keyClicks(description, QStringLiteral("   "));
        QTest::keyClick(description, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), description);
        QTest::keyClick(description, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), description);

        child<QComboBox>("cadenceCombo")->setFocus();   // as a mouse click on it would
        QCOMPARE(QApplication::focusWidget(), description);

        QTest::mouseClick(child<QPushButton>("saveButton"), Qt::LeftButton);
        QCOMPARE(QApplication::focusWidget(), description);
        QVERIFY(m_db->prompts.shown().isEmpty());
        QVERIFY(m_form->isVisible());

        // Esc leaves without a word and without a write; opening again starts afresh.
        QTest::keyClicks(description, QStringLiteral("Rent"));
        QTest::keyClick(description, Qt::Key_Escape);
        QVERIFY(!m_form->isVisible());
        QVERIFY(stored().isEmpty());
        QVERIFY(m_announced->heard.isEmpty());
        open();
        QVERIFY(child<QLineEdit>("descriptionBox")->text().isEmpty());
        QCOMPARE(m_form->targetGroupId(), 0);

        // A saved window opens again on the type box, not on the Save it was left by;
        // as does one left with Esc from the notes.
        auto *type = child<QComboBox>("typeCombo");
        type->setCurrentIndex(0);
        child<QLineEdit>("descriptionBox")->setText(QStringLiteral("Dentist"));
        child<QPushButton>("saveButton")->setFocus();
        QTest::keyClick(child<QPushButton>("saveButton"), Qt::Key_Return);
        QVERIFY(!m_form->isVisible());
        m_form->openBlank();
        QCOMPARE(m_form->focusWidget(), type);
        child<QPlainTextEdit>("notesBox")->setFocus();
        QTest::keyClick(child<QPlainTextEdit>("notesBox"), Qt::Key_Escape);
        m_form->openBlank();
        QCOMPARE(m_form->focusWidget(), type);
    }

    void fieldChecksHoldTheFocus()
    {
        const struct { const char *row; QString field; QString typed; bool staysInField; } cases[] = {
            {"count empty", "countBox", "", true},
            {"count one", "countBox", "1", true},
            {"count letters are dropped", "countBox", "a", true},
            {"count two", "countBox", "2", false},
            {"amount empty", "amountBox", "", true},
            {"amount with two commas", "amountBox", "1,2,3", true},
            {"amount with symbol and grouping", "amountBox", "1.234,50 €", false},
            // Pasted text skips the key filter; the check reads the whole text.
            {"amount pasted with a minus", "amountBox", "-5", true},
        };
        for (const auto &[row, field, typed, staysInField] : cases) {
            const auto named = qScopeGuard([row] { if (QTest::currentTestFailed()) qWarning("row: %s", row); });
            cleanup();   // each row on a fresh database
            init();
            open();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_End);   // credit
            QTest::mouseClick(child<QRadioButton>("recurringOption"), Qt::LeftButton);
            QVERIFY(child<QWidget>("recurringPanel")->isVisible());
            QVERIFY(!child<QWidget>("singlePanel")->isVisible());
            child<QLineEdit>("descriptionBox")->setText(QStringLiteral("Fattura"));
            child<QLineEdit>("amountBox")->setText(QStringLiteral("1"));

            auto *box = m_form->findChild<QLineEdit *>(field);
            box->setFocus();
            QCOMPARE(box->selectedText(), box->text());
            if (field == QLatin1String("countBox")) {
                box->clear();
                QTest::keyClicks(box, typed);
                QCOMPARE(box->text(), QString(typed).remove(u'a'));
            } else {
                box->setText(typed);
            }
            QTest::keyClick(box, Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget() == box, staysInField);
            QVERIFY(m_db->prompts.shown().isEmpty());

            // Save holds the same checks: nothing is written while one fails.
            QTest::mouseClick(child<QPushButton>("saveButton"), Qt::LeftButton);
            QCOMPARE(stored().size(), staysInField ? 0 : 2);
        }
    }

    void typedCountPastTheSpinnerIsSaved()
    {
        open();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
        child<QLineEdit>("descriptionBox")->setText(QStringLiteral("Rata"));
        child<QLineEdit>("amountBox")->setText(QStringLiteral("1.000,00 €"));
        QTest::mouseClick(child<QRadioButton>("recurringOption"), Qt::LeftButton);
        child<QLineEdit>("countBox")->setText(QStringLiteral("250"));
        child<QComboBox>("cadenceCombo")->setCurrentIndex(1);

        // The spinner itself stops at 100 and does not go below 1.
        auto *up = child<QWidget>("countUp");
        QTest::mouseClick(up, Qt::LeftButton);
        QCOMPARE(child<QLineEdit>("countBox")->text(), QStringLiteral("100"));
        child<QLineEdit>("countBox")->setText(QStringLiteral("250"));

        QTest::mouseClick(child<QPushButton>("saveButton"), Qt::LeftButton);
        const QStringList rows = stored();
        QCOMPARE(rows.size(), 250);
        QCOMPARE(rows.last(), QDate(2017, 4, 3).addDays(7 * 249).toString(Qt::ISODate) + "|-1|Rata||10000000|-10000000|w|250|250|1");
        // The first member of the new recurrence becomes current.
        QCOMPARE(m_announced->heard, savedOn(m_db->connectionString(), QDate(2017, 4, 3)));
    }

    void refusalsKeepTheWindowFilled()
    {
        // A yearly run whose twentieth member would fall in the year 10009.
        m_db->raw(QStringLiteral("CREATE TRIGGER refuse_member BEFORE INSERT ON Transactions WHEN NEW.TrGrpRow = 3 "
                                 "BEGIN SELECT RAISE(ABORT, 'disk full'); END"));
        open();
        child<QLineEdit>("descriptionBox")->setText(QStringLiteral("Lease"));
        QTest::mouseClick(child<QRadioButton>("recurringOption"), Qt::LeftButton);
        child<DateBox>("firstDate")->setDate(QDate(9990, 12, 31));
        child<QLineEdit>("countBox")->setText(QStringLiteral("20"));
        child<QComboBox>("cadenceCombo")->setCurrentIndex(8);
        QTest::mouseClick(child<QPushButton>("saveButton"), Qt::LeftButton);
        QCOMPARE(m_db->prompts.shownTexts(), QStringList{Texts::text(2100)});
        QVERIFY(m_form->isVisible());
        QCOMPARE(QApplication::focusWidget(), child<QWidget>("countBox"));
        QVERIFY(stored().isEmpty());
        m_db->prompts.clear();

        // The engine refuses the third member: the message names the file and carries
        // the rule's own words; retrying the same values would be refused again, so only OK.
        child<QLineEdit>("countBox")->setText(QStringLiteral("10"));
        QTest::mouseClick(child<QPushButton>("saveButton"), Qt::LeftButton);
        QCOMPARE(m_db->prompts.shown().size(), 1);
        QCOMPARE(m_db->prompts.shown().first().icon, Prompt::Icon::Critical);
        QCOMPARE(m_db->prompts.shown().first().buttons, Prompt::Buttons::Ok);
        QVERIFY(m_db->prompts.shown().first().text.contains(QDir::toNativeSeparators(m_db->path())));
        QVERIFY(m_db->prompts.shown().first().text.contains(QLatin1String("disk full")));
        QVERIFY(stored().isEmpty());
        QVERIFY(m_announced->heard.isEmpty());
        QVERIFY(m_form->isVisible());
        QCOMPARE(child<QLineEdit>("descriptionBox")->text(), QStringLiteral("Lease"));
        QCOMPARE(child<QLineEdit>("countBox")->text(), QStringLiteral("10"));
        m_db->raw(QStringLiteral("DROP TRIGGER refuse_member"));
        m_db->prompts.clear();

        // Another program holds the database: Retry or Cancel, and Cancel keeps the window filled.
        {
            OtherProgram other(m_db->path());
            QVERIFY(other.exec(QStringLiteral("BEGIN IMMEDIATE")));
            m_db->prompts.queueAnswer(Prompt::Answer::Cancel);
            QTest::mouseClick(child<QPushButton>("saveButton"), Qt::LeftButton);
            QCOMPARE(m_db->prompts.shown().size(), 1);
            QCOMPARE(m_db->prompts.shown().first().buttons, Prompt::Buttons::RetryCancel);
            QVERIFY(m_form->isVisible());
            QCOMPARE(child<QLineEdit>("descriptionBox")->text(), QStringLiteral("Lease"));
        }
        QVERIFY(stored().isEmpty());
        // Once the causes are gone the same window saves.
        QTest::mouseClick(child<QPushButton>("saveButton"), Qt::LeftButton);
        const QStringList rows = stored();
        QCOMPARE(rows.size(), 10);
        QVERIFY(rows.last().startsWith("9999-12-31|"));
    }

    void newMembersJoinTheGroup()
    {
        m_db->save(rent(QDate(2017, 1, 31), 4));
        m_form->openForGroup(-1, QStringLiteral("Rent"), 0, Currency::fromWhole(100), 1);
        QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
        QVERIFY(!child<QLineEdit>("descriptionBox")->isEnabled());
        QVERIFY(!child<QComboBox>("typeCombo")->isEnabled());
        QVERIFY(!child<QComboBox>("counterpartyCombo")->isEnabled());
        QVERIFY(child<QLineEdit>("amountBox")->isEnabled());
        QCOMPARE(child<QLineEdit>("amountBox")->text().remove(QChar(0xA0)).remove(u' '), QStringLiteral("100,00€"));

        QTest::mouseClick(child<QRadioButton>("recurringOption"), Qt::LeftButton);
        child<QLineEdit>("countBox")->setText(QStringLiteral("3"));
        child<QComboBox>("cadenceCombo")->setCurrentIndex(3);
        QTest::mouseClick(child<QPushButton>("saveButton"), Qt::LeftButton);

        const QStringList rows = tableRows(m_db->connectionString(), "TrGrpId, TrGrpMDay, TrGrpRow, TrDescription, TrBalance",
                                           "1", "TrDate, TrRowId");
        QCOMPARE(rows.size(), 7);
        for (int i = 0; i < rows.size(); ++i)
            QCOMPARE(rows[i], QStringLiteral("1|7|%1|Rent|-1000000").arg(i + 1));
        QCOMPARE(tableRows(m_db->connectionString(), "TrDate", "1", "TrDate").mid(1, 2), (QStringList{"2017-02-28", "2017-03-31"}));
        // The first of the added members becomes current, not one the group had;
        // the renumbered members are announced with the new ones.
        QCOMPARE(m_announced->heard, savedOn(m_db->connectionString(), QDate(2017, 4, 3)));
        QCOMPARE(m_rowIds, (QList<qint32>{1, 2, 3, 5, 4, 6, 7}));   // in date order
    }

    void quickSecondSaveWritesNothing()
    {
        // A double click and a double Enter on Save, both queued before the first save
        // returns: each stores one recurrence, not two.
        for (bool byKey : {false, true}) {
            open();
            child<QLineEdit>("descriptionBox")->setText(QStringLiteral("Rent"));
            QTest::mouseClick(child<QRadioButton>("recurringOption"), Qt::LeftButton);
            child<QLineEdit>("countBox")->setText(QStringLiteral("12"));
            auto *save = child<QPushButton>("saveButton");
            if (byKey) {
                save->setFocus();
                post(save, Qt::Key_Return);
                post(save, Qt::Key_Return);
            } else {
                post(save);
                post(save);
            }
            QCoreApplication::processEvents();
            QCoreApplication::processEvents();
            QVERIFY(!m_form->isVisible());
            QCOMPARE(stored().size(), byKey ? 24 : 12);
        }
        QCOMPARE(m_announced->heard.count(QStringLiteral("deadlines 1")), 2);
    }

    void typedDatesAreReadWhole()
    {
        open();
        // An amount typed for a debit leaves with the switch to appointment, and stays gone.
        auto *type = child<QComboBox>("typeCombo");
        auto *amount = child<QLineEdit>("amountBox");
        QTest::keyClick(type, Qt::Key_Down);
        amount->setText(QStringLiteral("50"));
        QTest::keyClick(type, Qt::Key_Up);
        QVERIFY(!amount->isEnabled());
        QVERIFY(amount->text().isEmpty());
        QTest::keyClick(type, Qt::Key_End);   // credit
        QVERIFY(amount->text().isEmpty());
        QTest::keyClick(type, Qt::Key_Home);

        child<QLineEdit>("descriptionBox")->setText(QStringLiteral("Dentist"));
        auto *date = child<DateBox>("singleDate");
        date->setFocus();
        QCOMPARE(date->selectedText(), date->text());
        // Not a date: the box keeps the focus, on Tab and on Save, and nothing is written.
        QTest::keyClicks(date, QStringLiteral("31/2/2017"));
        QTest::keyClick(date, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), date);
        QTest::mouseClick(child<QPushButton>("saveButton"), Qt::LeftButton);
        QCOMPARE(QApplication::focusWidget(), date);
        QVERIFY(stored().isEmpty());

        // A whole date typed the short way shows in full once the box is left.
        date->selectAll();
        QTest::keyClicks(date, QStringLiteral("29.2.16"));
        QTest::keyClick(date, Qt::Key_Return);
        QVERIFY(QApplication::focusWidget() != date);
        QCOMPARE(date->text(), QStringLiteral("29/02/2016"));
        QCOMPARE(date->date(), QDate(2016, 2, 29));

        // F4 opens the calendar; the day picked there goes into the box.
        date->setFocus();
        QTest::keyClick(date, Qt::Key_F4);
        auto *calendar = date->findChild<QCalendarWidget *>(QStringLiteral("calendar"));
        QVERIFY(calendar && calendar->isVisible());
        QCOMPARE(calendar->selectedDate(), QDate(2016, 2, 29));
        calendar->setSelectedDate(QDate(2016, 3, 1));
        QTest::keyClick(calendar->focusWidget() ? calendar->focusWidget() : calendar, Qt::Key_Return);
        QVERIFY(!calendar->isVisible());
        QCOMPARE(date->date(), QDate(2016, 3, 1));
        QTest::mouseClick(child<QPushButton>("saveButton"), Qt::LeftButton);
        QCOMPARE(stored(), QStringList{"2016-03-01|-2|Dentist||0|0|n|0|0|0"});
    }

    // The questions the main window asks before adding to or deleting from a recurrence.
    void groupChoiceFollowsTheAnswer()
    {
        // The controls clicked in turn ("esc" for the key) and the answer; the
        // first choice is the one taken untouched.
        const std::pair<QStringList, int> answers[] = {{{"confirmButton"}, 1},
                                                       {{"secondOption", "confirmButton"}, 2},
                                                       {{"secondOption", "firstOption", "confirmButton"}, 1},
                                                       {{"secondOption", "cancelButton"}, 0},
                                                       {{"secondOption", "esc"}, 0}};
        for (const bool erase : {false, true})
            for (const auto &[steps, answer] : answers)
                QVERIFY2(answered(erase, steps, answer), qPrintable(steps.join(u' ')));
    }

    // The editor of one saved deadline.
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

private:
    bool answered(bool erase, const QStringList &steps, int answer)
    {
        bool ran = false;
        // Runs once the modal dialog is up, as the user would.
        QTimer::singleShot(0, this, [&] {
            QWidget *dialog = QApplication::activeModalWidget();
            QVERIFY(dialog);
            // Only the buttons answer: no close box to leave the question open-ended.
            QVERIFY(!(dialog->windowFlags() & Qt::WindowCloseButtonHint));
            for (const QString &step : steps) {
                if (step == QLatin1String("esc")) {
                    QTest::keyClick(dialog, Qt::Key_Escape);
                    continue;
                }
                QWidget *w = dialog->findChild<QWidget *>(step);
                QVERIFY(w);
                QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(5, w->height() / 2));
            }
            ran = true;
        });
        const GroupChoice choice = erase ? DeleteFromGroupDialog::ask(nullptr) : AddToGroupDialog::ask(nullptr);
        return ran && int(choice) == answer;
    }
};

QTEST_MAIN(tst_DeadlineWindows)
#include "tst_DeadlineWindows.moc"
