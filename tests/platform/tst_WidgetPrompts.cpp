#include "platform/Prompts.h"
#include "platform/WidgetPrompts.h"
#include "startup/Language.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

Q_DECLARE_METATYPE(Prompt::Buttons)
Q_DECLARE_METATYPE(Prompt::Default)
Q_DECLARE_METATYPE(Prompt::Answer)

// The real message box behind the prompts layer: what Enter, Esc and each named
// button answer. The scripted prompts take their Enter answer from the same rule.
class tst_WidgetPrompts final : public QObject
{
    Q_OBJECT

    // The captions the caller passes for the buttons Qt has no text for.
    const QString Quit = QStringLiteral("Esci");
    const QString Choose = QStringLiteral("Scegli un'altra cartella…");

private slots:
    void keysAndButtonsAnswer_data()
    {
        QTest::addColumn<Prompt::Buttons>("buttons");
        QTest::addColumn<Prompt::Default>("defaultButton");
        QTest::addColumn<int>("key");   // 0: click the button named "press"
        QTest::addColumn<QString>("press");
        QTest::addColumn<Prompt::Answer>("expected");
        using B = Prompt::Buttons;
        using D = Prompt::Default;
        using A = Prompt::Answer;
        QTest::newRow("a deletion: Enter keeps") << B::YesNo << D::Safe << int(Qt::Key_Return) << QString() << A::No;
        QTest::newRow("a deletion: Esc keeps") << B::YesNo << D::Safe << int(Qt::Key_Escape) << QString() << A::No;
        QTest::newRow("a plain question: Enter agrees") << B::YesNo << D::First << int(Qt::Key_Return) << QString()
                                                        << A::Yes;
        QTest::newRow("yes/no/cancel: Esc cancels") << B::YesNoCancel << D::First << int(Qt::Key_Escape) << QString()
                                                    << A::Cancel;
        QTest::newRow("missing folder: Enter retries") << B::RetryChooseQuit << D::First << int(Qt::Key_Return)
                                                       << QString() << A::Retry;
        QTest::newRow("missing folder: Esc quits") << B::RetryChooseQuit << D::First << int(Qt::Key_Escape) << QString()
                                                   << A::Cancel;
        QTest::newRow("missing folder: choose") << B::RetryChooseQuit << D::First << 0 << Choose << A::Choose;
        QTest::newRow("missing folder: quit") << B::RetryChooseQuit << D::First << 0 << Quit << A::Cancel;
    }

    void keysAndButtonsAnswer()
    {
        QFETCH(Prompt::Buttons, buttons);
        QFETCH(Prompt::Default, defaultButton);
        QFETCH(int, key);
        QFETCH(QString, press);
        QFETCH(Prompt::Answer, expected);

        bool answered = false;
        QTimer::singleShot(0, this, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            QVERIFY(box);
            if (key) {
                QTest::keyClick(box, Qt::Key(key));
            } else {
                for (QAbstractButton *button : box->buttons()) {
                    if (button->text() == press)
                        button->click();
                }
            }
            answered = true;
        });
        WidgetPrompts prompts({.quit = Quit, .chooseFolder = Choose});
        const Prompt::Answer answer = prompts.message(QStringLiteral("Delete?"), QStringLiteral("Orvel 2"),
                                                      Prompt::Icon::Question, buttons, defaultButton);
        QVERIFY(answered);
        QCOMPARE(answer, expected);

        Prompt::ScriptedPrompts scripted;
        scripted.queueEnter();
        const Prompt::Answer enter = Prompt::message(QStringLiteral("Delete?"), QStringLiteral("Orvel 2"),
                                                     Prompt::Icon::Question, buttons, defaultButton);
        QCOMPARE(scripted.shown().constLast().enterAnswer, enter);
        if (key == Qt::Key_Return)
            QCOMPARE(enter, expected);
    }

    void standardButtonsSpeakTheUsersLanguage()
    {
        QStringList shown;
        QTimer::singleShot(0, this, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            QVERIFY(box);
            for (QAbstractButton *button : box->buttons())
                shown << button->text().remove(u'&');
            box->reject();
        });
        installQtTranslation(Language::Italian);
        WidgetPrompts({}).message(QStringLiteral("Eliminare?"), QStringLiteral("Orvel 2"), Prompt::Icon::Question,
                                  Prompt::Buttons::YesNo, Prompt::Default::Safe);
        installQtTranslation(Language::English);
        shown.sort();
        QCOMPARE(shown, (QStringList{QStringLiteral("No"), QStringLiteral("Sì")}));
    }
};

QTEST_MAIN(tst_WidgetPrompts)
#include "tst_WidgetPrompts.moc"
