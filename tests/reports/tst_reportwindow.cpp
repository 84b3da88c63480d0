#include "../support/ListedRows.h"
#include "../support/MainWindowSession.h"
#include "../support/PdfText.h"
#include "../support/ScopedFileSizeLimit.h"
#include "../support/TestDatabase.h"
#include "../support/TestRows.h"

#include "about/AboutDialog.h"
#include "about/HelpWindow.h"
#include "alerts/PreferencesDialog.h"
#include "counterparties/CounterpartyEditor.h"
#include "counterparties/CounterpartyList.h"
#include "deadlines/DeadlineEditor.h"
#include "deadlines/NewDeadlineWindow.h"
#include "deadlines/PurgeDialog.h"
#include "mainwindow/DeadlineList.h"
#include "mainwindow/ListPanel.h"
#include "mainwindow/MainWindow.h"
#include "platform/grid/DataGrid.h"
#include "reports/AgingWindow.h"
#include "platform/DateBox.h"
#include "reports/CounterpartyPrinting.h"
#include "reports/ReportPreview.h"
#include "reports/ReportContent.h"
#include "reports/ReportWindow.h"
#include "startup/Texts.h"
#include "sheets/SheetsDialog.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScreen>
#include <QTableWidget>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolBar>

#include <algorithm>
#include <array>
#include <functional>
#include <map>
#include <memory>

namespace {

// The texts' length is what makes a window grow: the five languages by code.
std::array<std::pair<const char *, Language>, 5> languages()
{
    return {{{"it", Language::Italian}, {"en", Language::English}, {"fr", Language::French},
             {"es", Language::Spanish}, {"de", Language::German}}};
}

// The texts of one language while a window is built, English again afterwards.
struct LanguageScope
{
    explicit LanguageScope(Language language) { Texts::setLanguage(language); }
    ~LanguageScope() { Texts::setLanguage(Language::English); }
};

// Called from initMain. Offscreen, the screen is then 800x500: a 1600x1000
// screen at twice the scale.
void useSmallScreen()
{
    if (qEnvironmentVariable("QT_QPA_PLATFORM") == QLatin1String("offscreen"))
        qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" SMALL_SCREEN_CONFIG);
}

QString pdfText(const QString &file)
{
    return pdfPages(QStringLiteral(PDFTOTEXT_EXECUTABLE), file).join(QLatin1Char('\f'));
}

// Closes the next modal window when it shows, within a second, and tells which
// class it was. A button's mnemonic clicks it a moment after the key.
void closeNextModal(QString *seen)
{
    auto *timer = new QTimer(qApp);
    QObject::connect(timer, &QTimer::timeout, qApp, [timer, seen, tries = 0]() mutable {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal && ++tries < 100)
            return;
        *seen = modal ? QString::fromLatin1(modal->metaObject()->className()) : QStringLiteral("none");
        if (auto *dialog = qobject_cast<QDialog *>(modal))
            dialog->reject();
        timer->stop();
        timer->deleteLater();
    });
    timer->start(10);
}

} // namespace

// The report window over a real database, offscreen: what it selects, how its
// controls follow the rules, what it prints, read back from the PDF, and how
// it is worked by keyboard; then every window on a small screen.
class TestReportWindow final : public QObject
{
    Q_OBJECT

public:
    static void initMain() { useSmallScreen(); }

private slots:
    void init()
    {
        m_session = std::make_unique<MainWindowSession>(QDate(2027, 6, 10));
        QVERIFY(m_session->ok());
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        m_session->session().setActiveSheet(1, QStringLiteral("Main ledger"));
        runSql(db(), QStringLiteral("INSERT INTO Accounts (AcName, AcNotes) VALUES ('Zephyr', 'Ring early\nthen write')"));
        runSql(db(), QStringLiteral("INSERT INTO Accounts (AcName, AcNotes) VALUES ('Acme', 'Pays late')"));
        const int acme = firstValue(db(), QStringLiteral("SELECT AcId FROM Accounts WHERE AcName='Acme'")).toInt();
        insertDeadline(db(), 1, 1, false, QDate(2027, 4, 30), QStringLiteral("Invoice April"), acme, Currency::fromWhole(1000));
        insertDeadline(db(), 1, 1, false, QDate(2027, 5, 1), QStringLiteral("Invoice May"), acme, Currency::fromWhole(250));
        insertDeadline(db(), 1, -1, true, QDate(2027, 8, 14), QStringLiteral("Old bill"), 0, Currency::fromWhole(80));
        insertDeadline(db(), 2, 1, false, QDate(2019, 1, 2), QStringLiteral("Other sheet"), 0, Currency::fromWhole(1));
    }

    void cleanup()
    {
        m_window.reset();
        m_session.reset();
    }

    void defaultsBoxRulesAndApply()
    {
        open();
        // The pickers span every sheet, and stay off until the period is checked.
        QCOMPARE(child<DateBox>("periodFirst")->date(), QDate(2019, 1, 2));
        QCOMPARE(child<DateBox>("periodLast")->date(), QDate(2027, 8, 14));
        QVERIFY(!child<DateBox>("periodFirst")->isEnabled());

        // Loading applied the defaults once: nothing left to apply.
        QCOMPARE(shownDeadlines(), (QStringList{"Invoice April", "Invoice May"}));
        QVERIFY(!child<QPushButton>("applyButton")->isEnabled());
        QCOMPARE(m_window->preview()->pageCount(), 1);
        QCOMPARE(m_window->printer().docName(), QStringLiteral("Main ledger - 1 Filter: Open Deadlines"));

        auto *openBox = child<QCheckBox>("openBox");
        auto *closedBox = child<QCheckBox>("closedBox");
        // The only checked state cannot be unchecked; the click still counts.
        openBox->click();
        QVERIFY(openBox->isChecked());
        QVERIFY(child<QPushButton>("applyButton")->isEnabled());

        closedBox->click();
        openBox->click();
        QVERIFY(!openBox->isChecked());
        QVERIFY(closedBox->isChecked());
        // Nothing changes until Apply.
        QCOMPARE(shownDeadlines(), (QStringList{"Invoice April", "Invoice May"}));
        // Enter on the focused button applies, as a click does.
        child<QPushButton>("applyButton")->setFocus();
        QTest::keyClick(child<QPushButton>("applyButton"), Qt::Key_Return);
        QCOMPARE(shownDeadlines(), QStringList{"Old bill"});
        QVERIFY(!child<QPushButton>("applyButton")->isEnabled());

        // Three type boxes: the last checked one stays.
        openBox->click();
        child<QCheckBox>("creditsBox")->click();
        child<QCheckBox>("appointmentsBox")->click();
        child<QCheckBox>("debitsBox")->click();
        QVERIFY(child<QCheckBox>("debitsBox")->isChecked());
        child<QCheckBox>("appointmentsBox")->click();
        child<QCheckBox>("periodBox")->click();
        QVERIFY(child<DateBox>("periodFirst")->isEnabled());
        QVERIFY(child<DateBox>("periodLast")->isEnabled());
        // The period is what the box shows when Apply is pressed, here by a screen
        // reader, which leaves the focus in the box; a text that is no date keeps it there.
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
        auto *first = child<DateBox>("periodFirst");
        auto *applyButton = child<QPushButton>("applyButton");
        const auto pressApply = [applyButton] {
            QAccessible::queryAccessibleInterface(applyButton)->actionInterface()->doAction(
                QAccessibleActionInterface::pressAction());
            QTRY_VERIFY(!applyButton->isDown());
        };
        const QString periodFilter = QStringLiteral("&1 Filter: Debits, Expiry dates | 5/1/2027 - 8/14/2027\r\n");
        for (const QString &typed : {QStringLiteral("5/1/2027"), QStringLiteral("13/45/2026")}) {
            first->setFocus();
            first->selectAll();
            QTest::keyClicks(first, typed);
            QVERIFY(applyButton->isEnabled());
            pressApply();
            QCOMPARE(m_window->document().footerText(), periodFilter);
            QCOMPARE(shownDeadlines(), QStringList{"Old bill"});
            QCOMPARE(QApplication::focusWidget(), first);
        }
        QCOMPARE(first->text(), QStringLiteral("13/45/2026"));
        first->setDate(QDate(2027, 5, 1));

        child<QCheckBox>("repeatHeadersBox")->click();
        QVERIFY(m_window->isApplyEnabled());
        m_window->apply();
        QVERIFY(m_window->document().repeatsColumnHeaders());
    }

    // The grouping and counterparty choices reach the report; then the same report
    // saved as a PDF, read back.
    void groupingAndCounterpartyThenSavedPdf()
    {
        open();
        auto *grouping = child<QComboBox>("groupingCombo");
        auto *dateMode = child<QComboBox>("dateModeCombo");
        const bool withDates[] = {false, true, false, true, true};
        for (int item : {1, 3, 2, 0, 4}) {
            grouping->setCurrentIndex(item);
            QCOMPARE(dateMode->isEnabled(), withDates[item]);
            QCOMPARE(dateMode->count(), withDates[item] ? 5 : 0);
            // A grouping chosen again starts its dates at the period mode.
            if (withDates[item]) {
                QCOMPARE(dateMode->currentIndex(), 0);
                dateMode->setCurrentIndex(3);
            }
        }
        grouping->setCurrentIndex(1);
        dateMode->setCurrentIndex(3);   // four months
        QVERIFY(m_window->isApplyEnabled());

        auto *box = child<QCheckBox>("counterpartyBox");
        auto *combo = child<QComboBox>("counterpartyCombo");
        box->click();
        QVERIFY(combo->isEnabled());
        QCOMPARE(combo->count(), 2);
        QCOMPARE(combo->currentText(), QStringLiteral("Acme"));
        m_window->apply();
        QCOMPARE(shownDeadlines(), (QStringList{"Invoice April", "Invoice May"}));

        // 30 April and 1 May fall into different four-month groups, each with its total.
        QStringList captions;
        for (const ReportRow &row : m_window->document().rows())
            if (row.isGroup())
                captions << row.caption;
        QCOMPARE(captions, (QStringList{"Main ledger [$1,250.00]", "4M1 2027 [$1,000.00]", "4M2 2027 [$250.00]"}));
        QCOMPARE(m_window->document().footerText(),
                 QStringLiteral("&1 Filter: Open Deadlines | Acme\r\n&2 Grouping: Date"));

        box->click();
        QCOMPARE(combo->count(), 0);
        QVERIFY(!combo->isEnabled());

        const QTemporaryDir dir;

        grouping->setCurrentIndex(2);
        m_window->apply();
        const QString file = dir.filePath(QStringLiteral("ledger"));
        m_session->prompts().queueSaveFile(file);
        m_window->preview()->savePdfAction()->trigger();
        const QString pdf = file + QStringLiteral(".pdf");
        QVERIFY(QFile::exists(pdf));

        const QString info = commandOutput(QStringLiteral(PDFINFO_EXECUTABLE), {pdf});
        QVERIFY2(info.contains(QRegularExpression(
                     "Title:\\s+Main ledger - 1 Filter: Open Deadlines - 2 Grouping: Client/Supplier\\n")),
                 qPrintable(info));
        const QString text = pdfText(pdf);
        for (const QString &expected : {QStringLiteral("Main ledger 1 of 1"), QStringLiteral("Acme [$1,250.00]"),
                                        QStringLiteral("Invoice April"), QStringLiteral("$1,000.00"),
                                        QStringLiteral("&1 Filter: Open Deadlines"),
                                        QStringLiteral("&2 Grouping: Client/Supplier")})
            QVERIFY2(text.contains(expected), qPrintable(expected + QStringLiteral(" missing in\n") + text));
        QVERIFY(!text.contains(QStringLiteral("Old bill")));

        // The same name typed again names the existing ledger.pdf: Enter keeps it.
        const QByteArray saved = fileDigest(pdf);
        m_session->prompts().clear();
        m_session->prompts().queueSaveFile(file);
        m_session->prompts().queueEnter();
        QVERIFY(!m_window->saveAsPdf());
        QCOMPARE(m_session->prompts().shown().size(), 3);
        const Prompt::Shown question = m_session->prompts().shown().at(1);
        QCOMPARE(question.enterAnswer, Prompt::Answer::No);
        QVERIFY2(question.text.contains(QDir::toNativeSeparators(pdf)), qPrintable(question.text));
        QCOMPARE(fileDigest(pdf), saved);

        // Replacing it on a disk that fills up keeps the older PDF and says why.
        m_session->prompts().clear();
        m_session->prompts().queueSaveFile(file);
        m_session->prompts().queueAnswer(Prompt::Answer::Yes);
        {
            ScopedFileSizeLimit limit(4096);
            QVERIFY(!m_window->saveAsPdf());
        }
        const Prompt::Shown told = m_session->prompts().shown().last();
        QCOMPARE(told.icon, Prompt::Icon::Critical);
        QVERIFY(told.text.startsWith(Texts::text(2603)));
        QVERIFY2(told.text.contains(QDir::toNativeSeparators(pdf) + QStringLiteral(": ")), qPrintable(told.text));
        QCOMPARE(fileDigest(pdf), saved);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"ledger.pdf"});
    }

    void databaseErrorIsReported()
    {
        const QTemporaryDir dir;
        m_session->session().setConnectionString(Database::connectionString(dir.filePath(QStringLiteral("gone"))));
        open();
        // Loading asked for the rows once and said which file it could not reach,
        // offering Retry (unanswered here: Cancel).
        QCOMPARE(m_session->prompts().shown().size(), 1);
        QCOMPARE(m_session->prompts().shown().first().buttons, Prompt::Buttons::RetryCancel);
        const QString gone = QDir::toNativeSeparators(dir.filePath(QStringLiteral("gone")));
        QVERIFY(m_session->prompts().shown().first().text.contains(gone));
        QVERIFY(!child<QCheckBox>("counterpartyBox")->isEnabled());
        child<QCheckBox>("closedBox")->click();
        m_window->apply();
        QCOMPARE(m_session->prompts().shown().size(), 2);
        // The choice stays for another try.
        QVERIFY(child<QCheckBox>("closedBox")->isChecked());
        QVERIFY(m_window->isApplyEnabled());
    }

    // The main window opens the report; View > Aging shows the open credits and debits per client/supplier, reads
    // again when told of a change, and a row brings that client's deadlines into the
    // list; its report and its text say the same.
    void agingFiltersTheListPrintsAndExports()
    {
        const int zephyr = firstValue(db(), QStringLiteral("SELECT AcId FROM Accounts WHERE AcName='Zephyr'")).toInt();
        insertDeadline(db(), 1, 1, false, QDate(2027, 6, 1), QStringLiteral("Zephyr fee"), zephyr, Currency::fromWhole(10));
        insertDeadline(db(), 1, 1, false, QDate(2027, 7, 1), QStringLiteral("Zephyr later"), zephyr, Currency::fromWhole(5));
        MainWindow main(m_session->session());
        main.show();
        // The main window's menu and toolbar open the report window.
        for (const char *name : {"printAction", "printButton"}) {
            auto *action = main.findChild<QAction *>(QLatin1String(name));
            QVERIFY2(action, name);
            QString seen;
            closeNextModal(&seen);
            action->trigger();
            QCOMPARE(seen, QStringLiteral("ReportWindow"));
        }
        main.findChild<QAction *>(QStringLiteral("agingAction"))->trigger();
        auto *aging = main.findChild<AgingWindow *>();
        QVERIFY(aging && aging->isVisible());
        QTableWidget *credits = aging->creditsTable();
        // Acme's two invoices are 40 and 41 days overdue; the largest overdue amount
        // first. The export below reads back the buckets of every row.
        QCOMPARE(credits->rowCount(), 3);
        QCOMPARE(credits->item(1, 0)->text(), QStringLiteral("Zephyr"));
        QCOMPARE(credits->item(0, 3)->text(), QStringLiteral("$1,250.00"));

        // A debit written elsewhere shows once the register tells of it.
        insertDeadline(db(), 1, -1, false, QDate(2027, 6, 10), QStringLiteral("Tax"), 0, Currency::fromWhole(30));
        emit m_session->session().deadlineRegister().deadlinesChanged(1);
        QCOMPARE(aging->debitsTable()->item(0, 1)->text(), QStringLiteral("$30.00"));

        // Double-clicking Zephyr: open credits, Zephyr's alone, until another view is chosen.
        const QPoint zephyrCell = credits->visualItemRect(credits->item(1, 0)).center();
        // As the mouse does it: the first click, then the second one.
        QTest::mouseClick(credits->viewport(), Qt::LeftButton, {}, zephyrCell);
        QTest::mouseDClick(credits->viewport(), Qt::LeftButton, {}, zephyrCell);
        DataGrid *list = main.listPanel()->list();
        QCOMPARE(main.listPanel()->currentView(), 3);
        QVERIFY(!list->isGroupRow(list->currentRow()));
        QCOMPARE(list->value(list->currentRow(), ListColumn::TrDescription).toString(), QStringLiteral("Zephyr fee"));
        QCOMPARE(listedTexts(list, ListColumn::TrDescription), (QStringList{"Zephyr fee", "Zephyr later"}));
        main.listPanel()->viewCombo()->setCurrentIndex(0);
        QVERIFY(list->rowCount() > 4);

        // The export: the same rows as plain numbers, credits before debits.
        const QTemporaryDir dir;
        m_session->prompts().queueSaveFile(dir.filePath(QStringLiteral("aging")));
        aging->exportToText();
        QCOMPARE(QString::fromUtf8(fileBytes(dir.filePath(QStringLiteral("aging.txt")))),
                 QStringLiteral("\"Type\"\t\"Client/Supplier\"\t\"not yet due\"\t\"1\u201330\"\t\"31\u201360\"\t"
                                "\"61\u201390\"\t\"over 90\"\t\"Total\"\t\"Oldest due date\"\r\n"
                                "\"Credit\"\t\"Acme\"\t\"0\"\t\"0\"\t\"1250\"\t\"0\"\t\"0\"\t\"1250\"\t\"4/30/2027\"\r\n"
                                "\"Credit\"\t\"Zephyr\"\t\"5\"\t\"10\"\t\"0\"\t\"0\"\t\"0\"\t\"15\"\t\"6/1/2027\"\r\n"
                                "\"Debit\"\t\"(none)\"\t\"30\"\t\"0\"\t\"0\"\t\"0\"\t\"0\"\t\"30\"\t\"6/10/2027\"\r\n"));

        // The report window prints the same tables, without the deadline options.
        m_window = std::make_unique<ReportWindow>(m_session->session(), nullptr, ReportWindow::Content::Aging);
        m_window->show();
        QVERIFY(!child<QWidget>("optionPanel")->isVisible());
        const QString file = dir.filePath(QStringLiteral("aging.pdf"));
        m_session->prompts().queueSaveFile(file);
        QVERIFY(m_window->saveAsPdf());
        const QString text = pdfText(file);
        for (const QString &expected : {QStringLiteral("Aging per client/supplier \u2013 Main ledger 1 of 1"),
                                        QStringLiteral("Credits: what clients owe"), QStringLiteral("$1,250.00"),
                                        QStringLiteral("Zephyr"), QStringLiteral("Debits: what is owed to suppliers"),
                                        QStringLiteral("Days overdue as of 6/10/2027")})
            QVERIFY2(text.contains(expected), qPrintable(expected + QStringLiteral(" missing in\n") + text));
    }

    void counterpartyListPrints()
    {
        const QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("list.pdf"));
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        QVERIFY(printCounterpartyList(printer, db()));
        const QString text = pdfText(pdf);
        // By name, the notes beside them, a note of two lines on two lines.
        QVERIFY2(QRegularExpression("Clients/Suppliers 1 of 1\\s*\\n.*Name Notes\\s*\\n.*Acme Pays late\\s*\\n"
                                    ".*Zephyr Ring early\\s*\\n\\s*then write")
                     .match(text)
                     .hasMatch(),
                 qPrintable(text));

        // The print dialog comes first; cancelling it prints nothing.
        QString seen;
        closeNextModal(&seen);
        QVERIFY(!printCounterparties(nullptr, db()));
        QVERIFY(seen.contains(QStringLiteral("PrintDialog")));
    }

    void keyboardReachesEveryCommand()
    {
        const char *commands[] = {"pageSetupButton", "printButton", "savePdfButton", "closeButton", "applyButton"};
        // The preview's zoom box and page box.
        const auto previewBoxes = [this] {
            auto *zoomBox = m_window->preview()->toolBar()->findChild<QComboBox *>();
            QLineEdit *pageBox = nullptr;
            for (QLineEdit *edit : m_window->preview()->toolBar()->findChildren<QLineEdit *>())
                if (edit != zoomBox->lineEdit())
                    pageBox = edit;
            return std::pair<QWidget *, QWidget *>(zoomBox, pageBox);
        };
        // What the keys rest on is each language's texts: the names a screen reader
        // speaks (a combo box is named by its label) and one mnemonic per command, none
        // used twice in the window. The keys themselves are pressed once, below.
        const auto name = [](QWidget *widget) {
            return QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name);
        };
        const auto labelName = [](QWidget *widget) {
            const auto labels = QAccessible::queryAccessibleInterface(widget)->relations(QAccessible::Label);
            return labels.isEmpty() ? QString() : labels.first().first->text(QAccessible::Name);
        };
        for (const auto &[code, language] : languages()) {
            const LanguageScope scope(language);
            open();
            const auto [zoomBox, pageBox] = previewBoxes();
            const QStringList names{name(child<DateBox>("periodFirst")), name(child<DateBox>("periodLast")),
                                    labelName(child<QComboBox>("counterpartyCombo")), labelName(zoomBox), name(pageBox)};
            QVERIFY2(!names.contains(QString()) && QSet<QString>(names.begin(), names.end()).size() == names.size(),
                     qPrintable(code + names.join(QLatin1String(" | "))));
            QStringList captions;
            for (QAbstractButton *button : m_window->findChildren<QAbstractButton *>())
                captions << button->text();
            for (QLabel *label : m_window->findChildren<QLabel *>())
                if (label->buddy())
                    captions << label->text();
            for (int tab = 0; tab < child<QTabWidget>("optionTabs")->count(); ++tab)
                captions << child<QTabWidget>("optionTabs")->tabText(tab);
            QHash<QKeySequence, QString> mnemonics;
            for (const QString &caption : captions) {
                const QKeySequence key = QKeySequence::mnemonic(caption);
                QVERIFY2(key.isEmpty() || !mnemonics.contains(key), qPrintable(caption + " and " + mnemonics.value(key)));
                if (!key.isEmpty())
                    mnemonics.insert(key, caption);
            }
            for (const char *command : commands) {
                QPushButton *button = child<QPushButton>(command);
                QVERIFY2(button && !QKeySequence::mnemonic(button->text()).isEmpty(), command);
            }
        }

        // The keys go to the report window, also when a dialog it showed was the last active one.
        const auto activate = [this] {
            m_window->activateWindow();
            return QTest::qWaitFor([this] { return QApplication::activeWindow() == m_window.get(); });
        };
        QVERIFY(activate());
        ReportPreview *preview = m_window->preview();
        const auto [zoomBox, pageBox] = previewBoxes();

        // Every command shows at the first size and at the least, none behind the
        // toolbar's extension button.
        for (const QSize size : {m_window->size(), m_window->minimumSize()}) {
            m_window->resize(size);
            QCoreApplication::processEvents();
            for (const char *command : commands) {
                QPushButton *button = child<QPushButton>(command);
                QVERIFY2(button->isVisible()
                             && m_window->rect().contains(QRect(button->mapTo(m_window.get(), QPoint()), button->size())),
                         command);
            }
            auto *extension = preview->toolBar()->findChild<QWidget *>(QStringLiteral("qt_toolbar_ext_button"));
            QVERIFY(!extension || !extension->isVisible());
        }

        // Tab reaches the commands and the preview's fields.
        QSet<QWidget *> reached;
        child<QCheckBox>("closedBox")->click();   // Apply can be pressed
        child<QPushButton>("applyButton")->setFocus();
        for (int press = 0; press < 40; ++press) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            reached << QApplication::focusWidget();
        }
        for (QWidget *widget : {static_cast<QWidget *>(zoomBox), static_cast<QWidget *>(pageBox)})
            QVERIFY(reached.contains(widget) || std::any_of(reached.begin(), reached.end(), [widget](QWidget *w) {
                        return widget->isAncestorOf(w);
                    }));
        for (const char *command : commands)
            QVERIFY2(reached.contains(child<QPushButton>(command)), command);

        // The keys do what the buttons do: Ctrl+P prints, Ctrl+W closes.
        const auto mnemonic = [this](const char *command) {
            return QKeySequence::mnemonic(child<QPushButton>(command)->text());
        };
        const std::pair<QKeySequence, QString> dialogs[] = {{mnemonic("pageSetupButton"), "PageSetupDialog"},
                                                            {mnemonic("printButton"), "PrintDialog"},
                                                            {QKeySequence::Print, "PrintDialog"}};
        for (const auto &[key, dialog] : dialogs) {
            QVERIFY(activate());
            QString seen;
            closeNextModal(&seen);
            QTest::keySequence(m_window.get(), key);
            QTRY_VERIFY2(!seen.isEmpty(), qPrintable(key.toString()));
            QVERIFY2(seen.contains(dialog), qPrintable(key.toString() + QStringLiteral(": ") + seen));
        }
        QVERIFY(activate());
        QTest::keySequence(m_window.get(), mnemonic("savePdfButton"));
        QTRY_COMPARE(m_session->prompts().shown().size(), 1);
        QCOMPARE(m_session->prompts().shown().first().kind, QStringLiteral("save"));
        for (const QKeySequence &key : {mnemonic("closeButton"), QKeySequence(QKeySequence::Close)}) {
            m_window->show();
            QVERIFY(activate());
            QTest::keySequence(m_window.get(), key);
            QTRY_VERIFY2(!m_window->isVisible(), qPrintable(key.toString()));
        }
    }

    // Every window, in every language, fits a small screen.
    void windowsFitSmallScreens()
    {
        Session &session = m_session->session();
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
                 editor->open(firstValue(db(), QStringLiteral("SELECT Min(TrRowId) FROM Transactions")).toInt());
                 return editor;
             }},
            {"preferences", [&] { return new PreferencesDialog(session); }},
            {"counterparties", [&] { return new CounterpartyList(db(), session.deadlineRegister()); }},
            {"counterpartyEditor", [&] { return new CounterpartyEditor(db(), session.deadlineRegister()); }},
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

private:
    QString db() const { return m_session->connectionString(); }
    template<typename T> T *child(const char *name) const { return m_window->findChild<T *>(QLatin1String(name)); }
    void open()
    {
        m_window = std::make_unique<ReportWindow>(m_session->session());
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }
    // The descriptions of the deadlines the report shows, in its order.
    QStringList shownDeadlines() const
    {
        QStringList descriptions;
        for (const ReportRow &row : m_window->document().rows())
            if (!row.isGroup())
                descriptions << row.cells.value(DescriptionColumnIndex);
        return descriptions;
    }

    std::unique_ptr<MainWindowSession> m_session;
    std::unique_ptr<ReportWindow> m_window;
};

QTEST_MAIN(TestReportWindow)
#include "tst_reportwindow.moc"
