#include "EveryLanguage.h"
#include "../support/MainWindowSession.h"
#include "../support/TestRows.h"

#include "about/AboutDialog.h"
#include "about/HelpWindow.h"
#include "alerts/PreferencesDialog.h"
#include "counterparties/CounterpartyEditor.h"
#include "counterparties/CounterpartyList.h"
#include "deadlines/DeadlineEditor.h"
#include "deadlines/NewDeadlineWindow.h"
#include "deadlines/PurgeDialog.h"
#include "mainwindow/MainWindow.h"
#include "reports/ReportWindow.h"
#include "sheets/SheetsDialog.h"

#include <QRadioButton>
#include <QScreen>
#include <QTest>

#include <functional>
#include <map>
#include <memory>

// Every window, in every language, fits a small screen.
class TestSmallScreens final : public QObject
{
    Q_OBJECT

public:
    static void initMain() { useSmallScreen(); }

private slots:

    void windowsFitSmallScreens()
    {
        MainWindowSession fixture(QDate(2027, 6, 10));
        QVERIFY(fixture.ok());
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        Session &session = fixture.session();
        session.setActiveSheet(1, QStringLiteral("Main ledger"));
        const QString db = fixture.connectionString();
        insertDeadline(db, 1, 1, false, QDate(2027, 4, 30), QStringLiteral("Invoice April"), 0, Currency::fromWhole(1000));
        const std::map<QString, std::function<QWidget *()>> make{
            {"main", [&] { return new MainWindow(session); }},
            {"report", [&] { return new ReportWindow(session); }},
            {"newDeadline", [&] {
                 auto *blank = new NewDeadlineWindow(session);
                 blank->openBlank();
                 blank->findChild<QRadioButton *>(QStringLiteral("recurringOption"))->click();   // the taller form
                 return blank;
             }},
            {"deadlineEditor", [&] {
                 auto *editor = new DeadlineEditor(session);
                 editor->open(firstValue(db, QStringLiteral("SELECT Min(TrRowId) FROM Transactions")).toInt());
                 return editor;
             }},
            {"preferences", [&] { return new PreferencesDialog(session); }},
            {"counterparties", [&] { return new CounterpartyList(db, session.deadlineRegister()); }},
            {"counterpartyEditor", [&] { return new CounterpartyEditor(db, session.deadlineRegister()); }},
            {"sheets", [&] { return new SheetsDialog(session); }},
            {"purge", [&] { return new PurgeDialog(session); }},
            {"help", [] { return new HelpWindow(); }},
            {"about", [] { return new AboutDialog(); }}};
        // The texts' length is what makes a window grow: every window in every language.
        for (const auto &[window, build] : make) {
            for (const auto &[code, language] : languages()) {
                const LanguageScope scope(language);
                const std::unique_ptr<QWidget> shown(build());
                shown->show();
                QVERIFY(QTest::qWaitForWindowExposed(shown.get()));
                // A 1600x1000 screen at twice the scale, or a laptop's 1366x768 at scale 1,
                // frame included: what the window needs and the size it opens at.
                const QSize room = shown->screen()->availableGeometry().size().boundedTo(QSize(800, 500));
                const QSize frame = shown->frameGeometry().size() - shown->size();
                const QSize least = shown->minimumSize().expandedTo(shown->minimumSizeHint()) + frame;
                const QSize opened = shown->frameGeometry().size();
                for (const QSize &size : {least, opened})
                    QVERIFY2(size.width() <= room.width() && size.height() <= room.height(),
                             qPrintable(QStringLiteral("%1 %2: least %3x%4, opened %5x%6").arg(window, QLatin1String(code))
                                            .arg(least.width()).arg(least.height()).arg(opened.width()).arg(opened.height())));
            }
        }
    }
};

QTEST_MAIN(TestSmallScreens)
#include "tst_smallscreens.moc"
