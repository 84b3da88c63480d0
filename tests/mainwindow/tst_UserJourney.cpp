#include "deadlines/DeleteFromGroupDialog.h"
#include "deadlines/NewDeadlineWindow.h"
#include "mainwindow/DeadlineList.h"
#include "mainwindow/ListPanel.h"
#include "mainwindow/MainWindow.h"
#include "platform/DateBox.h"
#include "platform/grid/DataGrid.h"
#include "platform/grid/GridView.h"
#include "store/Database.h"

#include "../support/MainWindowSession.h"
#include "../support/TestRows.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

// One user's morning, through the real windows and keys: a monthly rent of
// twelve is created, shows up grouped with its counters, one payment is closed,
// one is deleted and the rest renumbered, and finally the whole run is deleted.
class tst_UserJourney final : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<MainWindowSession> m_session;
    std::unique_ptr<MainWindow> m_window;

    GridView *list() const { return m_window->listPanel()->list()->view(); }

    QStringList listedDescriptions() const
    {
        QStringList out;
        GridModel *model = m_window->listPanel()->list()->model();
        for (int row = 1; row <= model->rowCount(); ++row)
            if (!model->isGroupRow(row))
                out << model->displayText(row, ListColumn::TrDescription);
        return out;
    }

    int rowShowing(const QString &description) const
    {
        GridModel *model = m_window->listPanel()->list()->model();
        for (int row = 1; row <= model->rowCount(); ++row)
            if (!model->isGroupRow(row) && model->displayText(row, ListColumn::TrDescription) == description)
                return row;
        return 0;
    }

    // (TrGrpRow, TrGrpMDay, TrDone) of every stored member, by date.
    QList<std::tuple<int, int, bool>> storedMembers() const
    {
        Connection c;
        c.open(m_session->connectionString());
        QSqlQuery query(c.database());
        query.exec(QStringLiteral("SELECT TrGrpRow, TrGrpMDay, TrDone FROM Transactions ORDER BY TrDate"));
        QList<std::tuple<int, int, bool>> out;
        while (query.next())
            out.append({query.value(0).toInt(), query.value(1).toInt(), query.value(2).toBool()});
        return out;
    }

    // Answers the modal group question that the next key opens: an option and
    // Delete, or Cancel.
    void answerGroupErase(const QString &control)
    {
        QTimer::singleShot(0, this, [control] {
            auto *dialog = qobject_cast<DeleteFromGroupDialog *>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            if (auto *option = dialog->findChild<QRadioButton *>(control)) {
                option->setChecked(true);
                QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("confirmButton")), Qt::LeftButton);
            } else {
                QTest::mouseClick(dialog->findChild<QPushButton *>(control), Qt::LeftButton);
            }
        });
    }

    void pressOnRow(int row, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        m_window->listPanel()->list()->setCurrentRow(row);
        QTest::keyClick(list(), key, modifiers);
    }

private slots:
    void init()
    {
        m_session = std::make_unique<MainWindowSession>(QDate(2027, 1, 31));
        QVERIFY(m_session->ok());
        m_session->session().setActiveSheet(1, QStringLiteral("Home"));
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
        m_window = std::make_unique<MainWindow>(m_session->session());
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }

    void cleanup()
    {
        m_window.reset();
        m_session.reset();
    }

    void monthlyRentFromCreationToDeletion()
    {
        // F5 in the empty list opens the new-deadline window.
        list()->setFocus();
        QTest::keyClick(list(), Qt::Key_F5);
        auto *form = m_window->findChild<NewDeadlineWindow *>();
        QVERIFY(form && form->isVisible());
        QVERIFY(QTest::qWaitForWindowActive(form));

        auto *type = form->findChild<QComboBox *>(QStringLiteral("typeCombo"));
        type->setFocus();
        QTest::keyClick(type, Qt::Key_End);   // credit
        auto *description = form->findChild<QLineEdit *>(QStringLiteral("descriptionBox"));
        description->setFocus();
        QTest::keyClicks(description, QStringLiteral("Rent"));
        auto *amount = form->findChild<QLineEdit *>(QStringLiteral("amountBox"));
        amount->setFocus();
        amount->selectAll();
        QTest::keyClicks(amount, QStringLiteral("850.5"));
        QTest::mouseClick(form->findChild<QRadioButton *>(QStringLiteral("recurringOption")), Qt::LeftButton);
        auto *first = form->findChild<DateBox *>(QStringLiteral("firstDate"));
        first->setDate(QDate(2027, 1, 31));
        auto *count = form->findChild<QLineEdit *>(QStringLiteral("countBox"));
        count->setFocus();
        count->selectAll();
        QTest::keyClicks(count, QStringLiteral("12"));
        auto *cadence = form->findChild<QComboBox *>(QStringLiteral("cadenceCombo"));
        cadence->setCurrentIndex(cadence->findText(Texts::text(1153)));   // monthly
        QTest::mouseClick(form->findChild<QPushButton *>(QStringLiteral("saveButton")), Qt::LeftButton);
        QVERIFY(!form->isVisible());
        QVERIFY(m_session->prompts().shown().isEmpty());

        // Twelve members, month ends kept (28/02, 30/04), numbered by date.
        QStringList expected;
        for (int k = 1; k <= 12; ++k)
            expected << QStringLiteral("Rent %1 of 12").arg(k);
        QCOMPARE(listedDescriptions(), expected);
        // The first member is the list's current row, ready for Enter.
        QCOMPARE(m_window->listPanel()->list()->currentRow(), rowShowing(expected.first()));
        const QString cs = m_session->connectionString();
        QCOMPARE(firstValue(cs, QStringLiteral("SELECT Min(TrDate) FROM Transactions")).toDate(), QDate(2027, 1, 31));
        QCOMPARE(firstValue(cs, QStringLiteral("SELECT TrBalance FROM Transactions WHERE TrDate='2027-02-28'")).toLongLong(),
                 qlonglong(8505000));

        // Ctrl+3: grouped by month, each month totalled.
        pressOnRow(2, Qt::Key_3, Qt::ControlModifier);
        QCOMPARE(m_session->session().display().groupOption, 2);
        GridModel *model = m_window->listPanel()->list()->model();
        QStringList monthCaptions;
        for (int row = 1; row <= model->rowCount(); ++row)
            if (model->isGroupRow(row) && model->groupLevel(row) == 2)
                monthCaptions << model->groupCaption(row);
        QCOMPARE(monthCaptions.size(), 12);
        QVERIFY2(monthCaptions.first().startsWith(QStringLiteral(" January 2027 [")), qPrintable(monthCaptions.first()));

        // Space closes the third payment.
        pressOnRow(rowShowing(QStringLiteral("Rent 3 of 12")), Qt::Key_Space);
        QCOMPARE(std::get<2>(storedMembers().at(2)), true);
        QCOMPARE(std::get<2>(storedMembers().at(3)), false);

        // Del on the fifth, cancelled: all twelve stay.
        answerGroupErase(QStringLiteral("cancelButton"));
        pressOnRow(rowShowing(QStringLiteral("Rent 5 of 12")), Qt::Key_Delete);
        QCOMPARE(storedMembers().size(), 12);

        // Del on the fifth, "only this one": eleven left, renumbered 1 to 11.
        answerGroupErase(QStringLiteral("firstOption"));
        pressOnRow(rowShowing(QStringLiteral("Rent 5 of 12")), Qt::Key_Delete);
        const auto members = storedMembers();
        QCOMPARE(members.size(), 11);
        for (int k = 0; k < members.size(); ++k) {
            QCOMPARE(std::get<0>(members.at(k)), k + 1);
            QCOMPARE(std::get<1>(members.at(k)), 11);
        }
        QVERIFY(rowShowing(QStringLiteral("Rent 11 of 11")) > 0);
        QCOMPARE(rowShowing(QStringLiteral("Rent 12 of 12")), 0);

        // Del again, "the whole group": nothing is left and the start panel returns.
        answerGroupErase(QStringLiteral("secondOption"));
        pressOnRow(rowShowing(QStringLiteral("Rent 2 of 11")), Qt::Key_Delete);
        QVERIFY(storedMembers().isEmpty());
        QCOMPARE(m_window->listPanel()->list()->rowCount(), 0);
    }
};

QTEST_MAIN(tst_UserJourney)
#include "tst_UserJourney.moc"
