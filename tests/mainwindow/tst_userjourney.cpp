#include "deadlines/frmGrpErase.h"
#include "deadlines/frmScadenzeNuovo.h"
#include "mainwindow/DeadlineList.h"
#include "mainwindow/frmMain.h"
#include "platform/Clock.h"
#include "platform/grid/DataGrid.h"
#include "platform/grid/GridView.h"
#include "platform/Pauses.h"
#include "platform/Prompts.h"
#include "startup/ResourceText.h"
#include "startup/Settings.h"
#include "startup/comRegistry.h"
#include "startup/mainmod.h"
#include "store/comDataBase.h"

#include "../support/TestDatabase.h"

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

// One user's morning, through the real windows and keys: a monthly rent of
// twelve is created, shows up grouped with its counters, one payment is closed,
// one is deleted and the rest renumbered, and finally the whole run is deleted.
class tst_UserJourney final : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<Prompt::ScriptedPrompts> m_prompts;
    std::unique_ptr<frmMain> m_window;

    GridView *list() const { return m_window->grid()->view(); }

    QStringList listedDescriptions() const
    {
        QStringList out;
        GridModel *model = m_window->grid()->model();
        for (int row = 1; row <= model->rowCount(); ++row)
            if (!model->isGroupRow(row))
                out << model->displayText(row, ListColumn::TrDescription);
        return out;
    }

    int rowShowing(const QString &description) const
    {
        GridModel *model = m_window->grid()->model();
        for (int row = 1; row <= model->rowCount(); ++row)
            if (!model->isGroupRow(row) && model->displayText(row, ListColumn::TrDescription) == description)
                return row;
        return 0;
    }

    // (TrGrpRow, TrGrpMDay, TrDone) of every stored member, by date.
    QList<std::tuple<int, int, bool>> storedMembers() const
    {
        Recordset rs;
        rs.open(QStringLiteral("SELECT TrGrpRow, TrGrpMDay, TrDone FROM Transactions ORDER BY TrDate"),
                mainmod::ConnectionString);
        QList<std::tuple<int, int, bool>> out;
        for (; !rs.eof(); rs.moveNext())
            out.append({rs.field(0).toInt(), rs.field(1).toInt(), rs.field(2).toBool()});
        return out;
    }

    // Answers the modal group question that the next key opens.
    void answerGroupErase(const QString &option)
    {
        QTimer::singleShot(0, this, [option] {
            auto *dialog = qobject_cast<frmGrpErase *>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            dialog->findChild<QRadioButton *>(option)->setChecked(true);
            QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("cmdOK")), Qt::LeftButton);
        });
    }

    void pressOnRow(int row, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        m_window->grid()->setCurrentRow(row);
        QTest::keyClick(list(), key, modifiers);
    }

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        mainmod::resetShared();
        comRegistry::setStorePath(m_dir->filePath(QStringLiteral("settings.ini")));
        mainmod::SettingsKeyPath = SettingsKeyPathFor(mainmod::AppTitle);
        mainmod::LanguageBase = English;
        mainmod::CounterSeparator = QStringLiteral(" of ");
        mainmod::ConnectionString = copyTemplateTo(m_dir->path());
        mainmod::ActiveSheetName = QStringLiteral("Home");
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
        Pauses::setScale(0);
        Clock::pin(QDate(2027, 1, 31));
        m_prompts = std::make_unique<Prompt::ScriptedPrompts>();
        m_window = std::make_unique<frmMain>();
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }

    void cleanup()
    {
        m_window.reset();
        m_prompts.reset();
        Clock::pin(QDate());
        comRegistry::setStorePath(QString());
    }

    void monthlyRentFromCreationToDeletion()
    {
        // F5 in the empty list opens the new-deadline window.
        list()->setFocus();
        QTest::keyClick(list(), Qt::Key_F5);
        auto *form = m_window->findChild<frmScadenzeNuovo *>();
        QVERIFY(form && form->isVisible());
        QVERIFY(QTest::qWaitForWindowActive(form));

        auto *type = form->findChild<QComboBox *>(QStringLiteral("imgcmbData"));
        type->setFocus();
        QTest::keyClick(type, Qt::Key_End);   // credit
        auto *description = form->findChild<QLineEdit *>(QStringLiteral("txtData0"));
        description->setFocus();
        QTest::keyClicks(description, QStringLiteral("Rent"));
        auto *amount = form->findChild<QLineEdit *>(QStringLiteral("txtData1"));
        amount->setFocus();
        amount->selectAll();
        QTest::keyClicks(amount, QStringLiteral("850.5"));
        QTest::mouseClick(form->findChild<QRadioButton *>(QStringLiteral("optgrp1")), Qt::LeftButton);
        auto *first = form->findChild<QDateEdit *>(QStringLiteral("datData1"));
        first->setDate(QDate(2027, 1, 31));
        auto *count = form->findChild<QLineEdit *>(QStringLiteral("txtData2"));
        count->setFocus();
        count->selectAll();
        QTest::keyClicks(count, QStringLiteral("12"));
        auto *cadence = form->findChild<QComboBox *>(QStringLiteral("cmbCadenza"));
        cadence->setCurrentIndex(cadence->findText(ResourceText(1153)));   // monthly
        QTest::mouseClick(form->findChild<QPushButton *>(QStringLiteral("cmdSalva")), Qt::LeftButton);
        QVERIFY(!form->isVisible());
        QVERIFY(m_prompts->shown().isEmpty());

        // Twelve members, month ends kept (28 February, 30 April), numbered by date.
        QStringList expected;
        for (int k = 1; k <= 12; ++k)
            expected << QStringLiteral("Rent %1 of 12").arg(k);
        QCOMPARE(listedDescriptions(), expected);
        {
            Recordset dates;
            dates.open(QStringLiteral("SELECT TrDate, TrBalance FROM Transactions ORDER BY TrDate"),
                       mainmod::ConnectionString);
            QCOMPARE(dates.field(0).toDate(), QDate(2027, 1, 31));
            dates.moveNext();
            QCOMPARE(dates.field(0).toDate(), QDate(2027, 2, 28));
            QCOMPARE(dates.field(1).value<Currency>(), Currency::fromUnits(8505000));
        }

        // Ctrl+3: grouped by month, each month totalled.
        pressOnRow(2, Qt::Key_3, Qt::ControlModifier);
        QCOMPARE(mainmod::GroupOption, 2);
        GridModel *model = m_window->grid()->model();
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

        // Del on the fifth, "only this one": eleven left, renumbered 1 to 11.
        answerGroupErase(QStringLiteral("opt0"));
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
        answerGroupErase(QStringLiteral("opt1"));
        pressOnRow(rowShowing(QStringLiteral("Rent 2 of 11")), Qt::Key_Delete);
        QVERIFY(storedMembers().isEmpty());
        QCOMPARE(m_window->grid()->rowCount(), 0);
    }
};

QTEST_MAIN(tst_UserJourney)
#include "tst_userjourney.moc"
