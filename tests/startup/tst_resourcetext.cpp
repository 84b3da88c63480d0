#include "platform/Prompts.h"
#include "startup/LanguageMenu.h"
#include "startup/ResourceText.h"
#include "startup/Setting.h"
#include "startup/mainmod.h"

#include <QLocale>
#include <QTemporaryDir>
#include <QtTest>

#include <array>

namespace {

const std::array<qint16, 5> AllLanguages = {LanguageOffset::Italian, LanguageOffset::English,
                                            LanguageOffset::French, LanguageOffset::Spanish,
                                            LanguageOffset::German};

} // namespace

class tst_ResourceText final : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void everyLanguageHoldsExactlyTheBaseIds();
    void markupSurvivesTranslation();
    void exactWordings_data();
    void exactWordings();
    void followsTheLanguageBase();

    void languageFromChoiceAndLocaleCode_data();
    void languageFromChoiceAndLocaleCode();
    void localeCodeOfQLocale_data();
    void localeCodeOfQLocale();
    void helpPageAndMenuEntryPerLanguage_data();
    void helpPageAndMenuEntryPerLanguage();

    void languageMenuClick_data();
    void languageMenuClick();

private:
    QTemporaryDir m_dir;
};

void tst_ResourceText::init()
{
    QVERIFY(m_dir.isValid());
    mainmod::SettingsFile = m_dir.filePath(QStringLiteral("settings.ini"));
    mainmod::LanguageBase = LanguageOffset::English;
    mainmod::LanguageChoice = 0;
}

void tst_ResourceText::cleanup()
{
    QFile::remove(m_dir.filePath(QStringLiteral("settings.ini")));
}

void tst_ResourceText::everyLanguageHoldsExactlyTheBaseIds()
{
    // An id present in one language is present in all of them, and nowhere else.
    QList<int> ids;
    for (int id = 0; id < 3000; ++id) {
        const bool inEnglish = !ResourceTextIn(id, LanguageOffset::English).isEmpty();
        if (inEnglish)
            ids << id;
        for (qint16 base : AllLanguages)
            QVERIFY2(inEnglish != ResourceTextIn(id, base).isEmpty(), qPrintable(QStringLiteral("id %1 + %2").arg(id).arg(base)));
    }
    QCOMPARE(ids.size(), ResourceTextCount());
    // A few the program cannot start without, at both ends of the table.
    for (int id : {201, 1055, 1362, 1671})
        QVERIFY(ids.contains(id));
    QVERIFY(ResourceTextIn(201, 15000).isEmpty());
}

void tst_ResourceText::markupSurvivesTranslation()
{
    for (int id = 0; id < 3000; ++id) {
        const QString english = ResourceTextIn(id, LanguageOffset::English);
        for (qint16 base : AllLanguages) {
            const QString text = ResourceTextIn(id, base);
            const QString where = QStringLiteral("id %1 + %2: \"%3\"").arg(id).arg(base).arg(text);
            // Placeholders replaced at run time, and separators split at run time.
            QVERIFY2(text.contains(QLatin1String("xxx")) == english.contains(QLatin1String("xxx")), qPrintable(where));
            QVERIFY2(text.count(QLatin1Char('|')) == english.count(QLatin1Char('|')), qPrintable(where));
            // A menu caption keeps one accelerator.
            if (english.contains(QLatin1Char('&')))
                QVERIFY2(text.count(QLatin1Char('&')) == 1 && !text.endsWith(QLatin1Char('&')), qPrintable(where));
            QVERIFY2(!text.contains(QLatin1Char('\t')) && !text.contains(QLatin1Char('\n')), qPrintable(where));
        }
    }
    for (qint16 base : AllLanguages) {
        // The quarter letter goes into a date pattern behind a single escape.
        QCOMPARE(ResourceTextIn(1670, base).size(), 1);
        QVERIFY(ResourceTextIn(1364, base).endsWith(QLatin1String(" (*.txt)|*.txt")));
    }
}

void tst_ResourceText::exactWordings_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<int>("base");
    QTest::addColumn<QString>("text");

    // Accented letters, trailing blanks and separators the screens rely on.
    const int it = LanguageOffset::Italian, en = LanguageOffset::English, de = LanguageOffset::German;
    QTest::newRow("1050 it") << 1050 << it << QStringLiteral("/");
    QTest::newRow("1050 en") << 1050 << en << QStringLiteral("of");
    QTest::newRow("1055 en") << 1055 << en << QStringLiteral("Delete selected Deadline?");
    QTest::newRow("958 en") << 958 << en << QStringLiteral("Select Calendar ");
    QTest::newRow("603 it") << 603 << it << QStringLiteral("&Guida in linea");
    QTest::newRow("1043 en") << 1043 << en << QStringLiteral("Expiry Date");
    QTest::newRow("1358 it") << 1358 << it << QStringLiteral("L'applicazione non verrà avviata.");
    QTest::newRow("1301 it, trailing blank") << 1301 << it
        << QStringLiteral("Questa procedura consente di eliminare tutte le scadenze chiuse fino ad una data da specificare. ");
    QTest::newRow("1402 de") << 1402 << de << QStringLiteral("Ordner ausgewählt. Starten Sie jetzt das Programm.");
    QTest::newRow("1222 en") << 1222 << en << QStringLiteral("the next xxx days");
    QTest::newRow("1336 en") << 1336 << en << QStringLiteral("Insert additional notes (tel. n°, etc)");
    QTest::newRow("1353 en") << 1353 << en << QStringLiteral("loading …");
    QTest::newRow("1671 en") << 1671 << en << QStringLiteral("4M");
    QTest::newRow("1052 en") << 1052 << en << QStringLiteral("Deadline|of");
}

void tst_ResourceText::exactWordings()
{
    QFETCH(int, id);
    QFETCH(int, base);
    QFETCH(QString, text);
    QCOMPARE(ResourceTextIn(id, qint16(base)), text);
}

void tst_ResourceText::followsTheLanguageBase()
{
    mainmod::LanguageBase = LanguageOffset::Italian;
    QCOMPARE(ResourceText(1050), QStringLiteral("/"));
    mainmod::LanguageBase = LanguageOffset::French;
    QCOMPARE(ResourceText(1055), ResourceTextIn(1055, LanguageOffset::French));
    QVERIFY(ResourceText(1055) != ResourceTextIn(1055, LanguageOffset::English));
    QVERIFY(ResourceText(1051).isEmpty());
}

void tst_ResourceText::languageFromChoiceAndLocaleCode_data()
{
    QTest::addColumn<int>("choice");
    QTest::addColumn<QString>("code");
    QTest::addColumn<int>("base");

    const int it = LanguageOffset::Italian, en = LanguageOffset::English, fr = LanguageOffset::French,
              es = LanguageOffset::Spanish, de = LanguageOffset::German;
    QTest::newRow("auto it_IT") << 0 << "0410" << it;
    QTest::newRow("auto it_CH") << 0 << "0810" << it;
    QTest::newRow("auto fr_FR") << 0 << "040c" << fr;
    QTest::newRow("auto fr 029") << 0 << "e40c" << fr;
    QTest::newRow("auto es_ES") << 0 << "0c0a" << es;
    QTest::newRow("auto es 419") << 0 << "e40a" << es;
    QTest::newRow("auto de_DE") << 0 << "0407" << de;
    QTest::newRow("auto de_LI") << 0 << "1407" << de;
    QTest::newRow("auto pt_BR") << 0 << "0416" << en;
    QTest::newRow("auto en_US") << 0 << "0409" << en;
    // The comparison is exact text: upper case is no match.
    QTest::newRow("auto upper case") << 0 << "040C" << en;
    QTest::newRow("auto empty") << 0 << "" << en;
    QTest::newRow("German") << 2 << "0410" << de;
    QTest::newRow("English") << 3 << "0410" << en;
    QTest::newRow("Italian") << 6 << "040c" << it;
    QTest::newRow("separator") << 1 << "0410" << en;
    QTest::newRow("beyond the menu") << 7 << "0410" << en;
    QTest::newRow("negative") << -1 << "0410" << en;
}

void tst_ResourceText::languageFromChoiceAndLocaleCode()
{
    QFETCH(int, choice);
    QFETCH(QString, code);
    QFETCH(int, base);
    QCOMPARE(int(ChooseLanguageBase(choice, code)), base);
}

void tst_ResourceText::localeCodeOfQLocale_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("code");
    QTest::addColumn<int>("base");

    const int it = LanguageOffset::Italian, en = LanguageOffset::English, fr = LanguageOffset::French,
              es = LanguageOffset::Spanish, de = LanguageOffset::German;
    struct Row { const char *name; QLocale::Language language; QLocale::Territory territory; const char *code; int base; };
    const Row rows[] = {
        {"it_CH", QLocale::Italian, QLocale::Switzerland, "0810", it},
        {"it_SM", QLocale::Italian, QLocale::SanMarino, "0410", it},
        {"fr_FR", QLocale::French, QLocale::France, "040c", fr},
        {"fr_GP", QLocale::French, QLocale::Guadeloupe, "e40c", fr},
        {"fr_DZ", QLocale::French, QLocale::Algeria, "040c", fr},
        {"es_ES", QLocale::Spanish, QLocale::Spain, "0c0a", es},
        {"es_419", QLocale::Spanish, QLocale::LatinAmerica, "e40a", es},
        {"es_GQ", QLocale::Spanish, QLocale::EquatorialGuinea, "0c0a", es},
        {"de_AT", QLocale::German, QLocale::Austria, "0c07", de},
        {"de_LI", QLocale::German, QLocale::Liechtenstein, "1407", de},
        {"de_BE", QLocale::German, QLocale::Belgium, "0407", de},
        {"en_GB", QLocale::English, QLocale::UnitedKingdom, "0809", en},
        {"pt_BR", QLocale::Portuguese, QLocale::Brazil, "0416", en},
        {"nl_BE", QLocale::Dutch, QLocale::Belgium, "0813", en},
        // Languages of Italy, Spain and Switzerland that are not in the table.
        {"ca_ES", QLocale::Catalan, QLocale::Spain, "0403", en},
        {"rm_CH", QLocale::Romansh, QLocale::Switzerland, "0417", en},
    };
    for (const Row &r : rows)
        QTest::newRow(r.name) << QLocale(r.language, r.territory) << QString::fromLatin1(r.code) << r.base;
    QTest::newRow("C") << QLocale::c() << QStringLiteral("007f") << en;
}

void tst_ResourceText::localeCodeOfQLocale()
{
    QFETCH(QLocale, locale);
    QFETCH(QString, code);
    QFETCH(int, base);
    QCOMPARE(LocaleLanguageCode(locale), code);
    QCOMPARE(int(ChooseLanguageBase(0, LocaleLanguageCode(locale))), base);
}

void tst_ResourceText::helpPageAndMenuEntryPerLanguage_data()
{
    QTest::addColumn<int>("base");
    QTest::addColumn<QString>("helpFile");
    QTest::addColumn<int>("choice");
    QTest::addColumn<QString>("htmlLang");

    QTest::newRow("Italian") << int(LanguageOffset::Italian) << "ita_help.html" << 6 << "it";
    QTest::newRow("English") << int(LanguageOffset::English) << "eng_help.html" << 3 << "en";
    QTest::newRow("French") << int(LanguageOffset::French) << "fra_help.html" << 5 << "fr";
    QTest::newRow("Spanish") << int(LanguageOffset::Spanish) << "esp_help.html" << 4 << "es";
    QTest::newRow("German") << int(LanguageOffset::German) << "deu_help.html" << 2 << "de";
}

void tst_ResourceText::helpPageAndMenuEntryPerLanguage()
{
    QFETCH(int, base);
    QFETCH(QString, helpFile);
    QFETCH(int, choice);
    QFETCH(QString, htmlLang);
    QCOMPARE(HelpFileName(qint16(base)), helpFile);
    QCOMPARE(LanguageChoiceFor(qint16(base)), choice);
    // Choosing the menu entry of a language starts in that language.
    QCOMPARE(int(ChooseLanguageBase(choice, QStringLiteral("0409"))), base);

    // The page ships beside the program and is written in its language.
    const QString folder = qEnvironmentVariable("ORVEL_PROGRAM_FOLDER");
    if (folder.isEmpty())
        QSKIP("ORVEL_PROGRAM_FOLDER is not set");
    QFile page(folder + QLatin1Char('/') + helpFile);
    QVERIFY2(page.open(QIODevice::ReadOnly), qPrintable(page.fileName()));
    const QString html = QString::fromUtf8(page.readAll());
    QVERIFY(html.contains(QStringLiteral("<html lang=\"%1\">").arg(htmlLang)));
    QVERIFY(html.contains(QLatin1String("<meta charset=\"utf-8\">")));
}

void tst_ResourceText::languageMenuClick_data()
{
    QTest::addColumn<int>("current");
    QTest::addColumn<int>("index");
    QTest::addColumn<bool>("changes");

    QTest::newRow("Italian under automatic") << 0 << 6 << true;
    QTest::newRow("same entry") << 6 << 6 << false;
    QTest::newRow("automatic again") << 3 << 0 << true;
    QTest::newRow("automatic already") << 0 << 0 << false;
    QTest::newRow("German from Spanish") << 4 << 2 << true;
    QTest::newRow("separator") << 0 << 1 << false;
    QTest::newRow("past the last entry") << 0 << 7 << false;
    QTest::newRow("negative") << 0 << -1 << false;
}

void tst_ResourceText::languageMenuClick()
{
    QFETCH(int, current);
    QFETCH(int, index);
    QFETCH(bool, changes);

    Prompt::ScriptedPrompts prompts;
    mainmod::LanguageBase = LanguageOffset::English;
    mainmod::LanguageChoice = current;
    const int untouched = -99;

    QCOMPARE(LanguageMenu::ChangesChoice(index, current), changes);
    QCOMPARE(LanguageMenu::Click(index), changes);

    QCOMPARE(mainmod::LanguageChoice, changes ? index : current);
    QCOMPARE(mainmod::Settings().integer(Setting::LanguageChoice.name, untouched), changes ? index : untouched);
    // The texts on screen stay in the language of this run.
    QCOMPARE(int(mainmod::LanguageBase), int(LanguageOffset::English));
    if (!changes) {
        QVERIFY(prompts.shown().isEmpty());
        return;
    }
    QCOMPARE(prompts.shown().size(), 1);
    const Prompt::Shown &shown = prompts.shown().first();
    QCOMPARE(shown.kind, QStringLiteral("message"));
    QCOMPARE(shown.text, QStringLiteral("Restart the application."));
    QCOMPARE(shown.caption, mainmod::AppTitle);
    QCOMPARE(shown.buttons, Prompt::Buttons::Ok);
    QCOMPARE(shown.icon, Prompt::Icon::None);
}

QTEST_GUILESS_MAIN(tst_ResourceText)
#include "tst_resourcetext.moc"
