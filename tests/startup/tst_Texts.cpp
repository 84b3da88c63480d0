#include "platform/Prompts.h"
#include "startup/LanguageMenu.h"
#include "startup/Session.h"
#include "startup/Setting.h"
#include "startup/Texts.h"

#include <QLocale>
#include <QTemporaryDir>
#include <QtTest>

#include <array>

namespace {

const std::array<Language, 5> AllLanguages = {Language::Italian, Language::English, Language::French,
                                              Language::Spanish, Language::German};

} // namespace

// The five-language text table, the language a start chooses and the language menu.
class tst_Texts final : public QObject
{
    Q_OBJECT

private slots:
    void everyLanguageHoldsEveryIdWithItsMarkup()
    {
        int ids = 0;
        for (int id = 0; id < 3000; ++id) {
            const QString english = Texts::text(id, Language::English);
            ids += english.isEmpty() ? 0 : 1;
            for (Language language : AllLanguages) {
                const QString text = Texts::text(id, language);
                const QString where = QStringLiteral("id %1 + %2: \"%3\"").arg(id).arg(int(language)).arg(text);
                // An id present in one language is present in all of them.
                QVERIFY2(text.isEmpty() == english.isEmpty(), qPrintable(where));
                // Placeholders and separators are replaced and split at run time.
                QVERIFY2(text.contains(QLatin1String("xxx")) == english.contains(QLatin1String("xxx")), qPrintable(where));
                QVERIFY2(text.count(QLatin1Char('|')) == english.count(QLatin1Char('|')), qPrintable(where));
                // A menu caption keeps one accelerator.
                if (english.contains(QLatin1Char('&')))
                    QVERIFY2(text.count(QLatin1Char('&')) == 1 && !text.endsWith(QLatin1Char('&')), qPrintable(where));
                QVERIFY2(!text.contains(QLatin1Char('\t')) && !text.contains(QLatin1Char('\n')), qPrintable(where));
            }
        }
        QCOMPARE(ids, Texts::count());
        QVERIFY(Texts::text(201, Language(15000)).isEmpty());
    }

    void languageFromChoiceAndLocale_data()
    {
        QTest::addColumn<int>("choice");
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("code");
        QTest::addColumn<Language>("language");

        const QLocale it(QLocale::Italian, QLocale::Italy);
        QTest::newRow("auto it_CH") << 0 << QLocale(QLocale::Italian, QLocale::Switzerland) << "0810" << Language::Italian;
        QTest::newRow("auto fr_GP") << 0 << QLocale(QLocale::French, QLocale::Guadeloupe) << "e40c" << Language::French;
        QTest::newRow("auto pt_BR") << 0 << QLocale(QLocale::Portuguese, QLocale::Brazil) << "0416" << Language::English;
        // Languages of Italy, Spain and Switzerland that are not in the table.
        QTest::newRow("auto ca_ES") << 0 << QLocale(QLocale::Catalan, QLocale::Spain) << "0403" << Language::English;
        QTest::newRow("auto C") << 0 << QLocale::c() << "007f" << Language::English;
        QTest::newRow("German") << 2 << it << "0410" << Language::German;
        QTest::newRow("Italian") << 6 << QLocale(QLocale::French, QLocale::France) << "040c" << Language::Italian;
        QTest::newRow("separator") << 1 << it << "0410" << Language::English;
        QTest::newRow("beyond the menu") << 7 << it << "0410" << Language::English;
    }

    void languageFromChoiceAndLocale()
    {
        QFETCH(int, choice);
        QFETCH(QLocale, locale);
        QFETCH(QString, code);
        QFETCH(Language, language);
        QCOMPARE(localeLanguageCode(locale), code);
        QCOMPARE(chooseLanguage(choice, code), language);
        // Codes are compared as the platform writes them: upper case is no match.
        QCOMPARE(chooseLanguage(0, QStringLiteral("040C")), Language::English);
    }

    // Each language's help page ships under the name the program asks for, in that language.
    void helpPageShipsInItsLanguage()
    {
        const QStringList htmlLangs{"it", "en", "fr", "es", "de"};
        for (int i = 0; i < 5; ++i) {
            QFile page(qEnvironmentVariable("ORVEL_PROGRAM_FOLDER") + QLatin1Char('/') + helpFileName(AllLanguages[i]));
            QVERIFY2(page.open(QIODevice::ReadOnly), qPrintable(page.fileName()));
            const QString html = QString::fromUtf8(page.readAll());
            QVERIFY(html.contains(QStringLiteral("<html lang=\"%1\">").arg(htmlLangs[i])));
            QVERIFY(html.contains(QLatin1String("<meta charset=\"utf-8\">")));
        }
    }

    void languageMenuChoice_data()
    {
        QTest::addColumn<int>("current");
        QTest::addColumn<int>("index");
        QTest::addColumn<bool>("changes");

        QTest::newRow("Italian under automatic") << 0 << 6 << true;
        QTest::newRow("same entry") << 6 << 6 << false;
        QTest::newRow("automatic again") << 3 << 0 << true;
        QTest::newRow("separator") << 0 << 1 << false;
        QTest::newRow("past the last entry") << 0 << 7 << false;
    }

    void languageMenuChoice()
    {
        QFETCH(int, current);
        QFETCH(int, index);
        QFETCH(bool, changes);

        Prompt::ScriptedPrompts prompts;
        Texts::setLanguage(Language::English);
        QFile::remove(m_dir.filePath(QStringLiteral("settings.ini")));
        Session session(SettingsStore(m_dir.filePath(QStringLiteral("settings.ini"))));
        session.setLanguageChoice(current);

        QCOMPARE(LanguageMenu::choose(index, session), changes);
        QCOMPARE(session.languageChoice(), changes ? index : current);
        QCOMPARE(session.settings().integer(Setting::LanguageChoice.name, -99), changes ? index : -99);
        // The texts on screen stay in the language of this run.
        QCOMPARE(Texts::language(), Language::English);
        if (!changes) {
            QVERIFY(prompts.shown().isEmpty());
            return;
        }
        QCOMPARE(prompts.shown().size(), 1);
        QCOMPARE(prompts.shown().first().text, QStringLiteral("Restart the application."));
    }

private:
    QTemporaryDir m_dir;
};

QTEST_GUILESS_MAIN(tst_Texts)
#include "tst_Texts.moc"
