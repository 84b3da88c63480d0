#include "deadlines/AddToGroupDialog.h"
#include "deadlines/DeleteFromGroupDialog.h"
#include "startup/Texts.h"

#include <QApplication>
#include <QTest>
#include <QTimer>

class tst_GroupChoiceDialogs final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        Texts::setLanguage(Language::English);
    }

    void answerFollowsTheChoice_data()
    {
        QTest::addColumn<bool>("erase");
        QTest::addColumn<QStringList>("steps");   // the controls clicked in turn; "esc" for the key
        QTest::addColumn<int>("answer");

        for (bool erase : {false, true}) {
            const char *d = erase ? "erase" : "add";
            // The first choice is the one taken untouched.
            QTest::addRow("%s: confirm untouched", d) << erase << QStringList{"confirmButton"} << 1;
            QTest::addRow("%s: second option", d) << erase << QStringList{"secondOption", "confirmButton"} << 2;
            QTest::addRow("%s: second then first", d) << erase << QStringList{"secondOption", "firstOption", "confirmButton"} << 1;
            QTest::addRow("%s: cancel after choosing", d) << erase << QStringList{"secondOption", "cancelButton"} << 0;
            QTest::addRow("%s: Esc", d) << erase << QStringList{"secondOption", "esc"} << 0;
        }
    }

    void answerFollowsTheChoice()
    {
        QFETCH(bool, erase);
        QFETCH(QStringList, steps);
        QFETCH(int, answer);

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
        QVERIFY(ran);
        QCOMPARE(int(choice), answer);
    }
};

QTEST_MAIN(tst_GroupChoiceDialogs)
#include "tst_GroupChoiceDialogs.moc"
