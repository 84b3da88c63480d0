#include "platform/Prompts.h"
#include "startup/LanguageMenu.h"
#include "startup/ResourceText.h"
#include "startup/Settings.h"
#include "startup/comRegistry.h"
#include "startup/mainmod.h"

#include <QLocale>
#include <QTemporaryDir>
#include <QtTest>

#include <array>

namespace {

const std::array<qint16, 5> AllLanguages = {LanguageOffset::Italian, LanguageOffset::English,
                                            LanguageOffset::French, LanguageOffset::Spanish,
                                            LanguageOffset::German};

// Every base id the program asks for.
const QList<int> BaseIds = {
    201, 203, 205, 207, 209, 210, 301, 303, 304, 305, 306, 307, 308, 309, 311, 313, 401, 403, 410, 412,
    413, 414, 415, 419, 501, 503, 504, 505, 506, 601, 603, 607, 608, 620, 621, 901, 902, 903, 904, 905,
    907, 909, 911, 913, 915, 951, 952, 953, 954, 955, 956, 957, 958, 980, 981, 982, 1000, 1001, 1002,
    1003, 1004, 1005, 1006, 1007, 1008, 1009, 1010, 1011, 1012, 1013, 1014, 1015, 1016, 1030, 1032,
    1041, 1042, 1043, 1050, 1052, 1053, 1054, 1055, 1056, 1060, 1061, 1062, 1100, 1101, 1102, 1103,
    1104, 1105, 1106, 1107, 1108, 1109, 1110, 1111, 1112, 1113, 1114, 1115, 1116, 1117, 1120, 1121,
    1122, 1128, 1129, 1130, 1131, 1132, 1133, 1134, 1135, 1136, 1140, 1141, 1142, 1143, 1144, 1145,
    1146, 1150, 1151, 1152, 1153, 1154, 1155, 1156, 1157, 1158, 1210, 1211, 1212, 1213, 1214, 1215,
    1216, 1217, 1218, 1219, 1220, 1221, 1222, 1223, 1224, 1250, 1251, 1252, 1253, 1254, 1255, 1300,
    1301, 1302, 1303, 1304, 1305, 1306, 1307, 1308, 1309, 1320, 1321, 1322, 1323, 1324, 1325, 1326,
    1327, 1330, 1331, 1332, 1333, 1335, 1336, 1340, 1341, 1342, 1353, 1354, 1355, 1357, 1358, 1359,
    1362, 1363, 1364, 1401, 1402, 1403, 1404, 1405, 1406, 1407, 1408, 1409, 1410, 1411, 1412, 1413,
    1414, 1600, 1602, 1604, 1606, 1608, 1610, 1612, 1614, 1620, 1622, 1623, 1624, 1630, 1631, 1632,
    1633, 1634, 1640, 1641, 1642, 1643, 1644, 1645, 1646, 1647, 1648, 1660, 1661, 1662, 1663, 1664,
    1670, 1671};

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
    comRegistry::setStorePath(m_dir.filePath(QStringLiteral("settings.ini")));
    mainmod::SettingsKeyPath = SettingsKeyPathFor(mainmod::AppTitle);
    mainmod::LanguageBase = LanguageOffset::English;
    mainmod::LanguageChoice = 0;
}

void tst_ResourceText::cleanup()
{
    QFile::remove(m_dir.filePath(QStringLiteral("settings.ini")));
}

void tst_ResourceText::everyLanguageHoldsExactlyTheBaseIds()
{
    QCOMPARE(ResourceTextCount(), BaseIds.size());
    for (int id = 0; id < 3000; ++id) {
        const bool expected = BaseIds.contains(id);
        for (qint16 base : AllLanguages) {
            const QString text = ResourceTextIn(id, base);
            if (expected != !text.isEmpty())
                QFAIL(qPrintable(QStringLiteral("id %1 + %2: \"%3\"").arg(id).arg(base).arg(text)));
        }
    }
    // Nothing beyond the last language.
    QVERIFY(ResourceTextIn(201, 15000).isEmpty());
}

void tst_ResourceText::markupSurvivesTranslation()
{
    for (int id : BaseIds) {
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

    const int it = LanguageOffset::Italian, en = LanguageOffset::English, de = LanguageOffset::German;
    QTest::newRow("1050 it") << 1050 << it << QStringLiteral("/");
    QTest::newRow("1050 en") << 1050 << en << QStringLiteral("of");
    QTest::newRow("1054 it") << 1054 << it << QStringLiteral("(vuoto)");
    QTest::newRow("1055 it") << 1055 << it << QStringLiteral("Eliminare la Scadenza selezionata?");
    QTest::newRow("1055 en") << 1055 << en << QStringLiteral("Delete selected Deadline?");
    QTest::newRow("1060 it") << 1060 << it << QStringLiteral("Fino ad oggi");
    QTest::newRow("1061 it") << 1061 << it << QStringLiteral("Fine mese");
    QTest::newRow("1062 it") << 1062 << it << QStringLiteral("Mesi successivi");
    QTest::newRow("415 it") << 415 << it << QStringLiteral("Raggruppa per Cliente/Fornitore");
    QTest::newRow("956 it") << 956 << it << QStringLiteral("Scadenze aperte  -  Appuntamenti");
    QTest::newRow("958 it") << 958 << it << QStringLiteral("Selezione Calendario");
    QTest::newRow("958 en") << 958 << en << QStringLiteral("Select Calendar ");
    QTest::newRow("504 it") << 504 << it << QStringLiteral("Lingue");
    QTest::newRow("505 it") << 505 << it << QStringLiteral("Automatico");
    QTest::newRow("603 it") << 603 << it << QStringLiteral("&Guida in linea");
    QTest::newRow("601 it") << 601 << it << QStringLiteral("&?");
    QTest::newRow("308 it") << 308 << it << QStringLiteral("&Prima riga");
    QTest::newRow("308 en") << 308 << en << QStringLiteral("First Row");
    QTest::newRow("1043 it") << 1043 << it << QStringLiteral("Appuntamento");
    QTest::newRow("1043 en") << 1043 << en << QStringLiteral("Expiry Date");
    QTest::newRow("1358 it") << 1358 << it << QStringLiteral("L'applicazione non verrà avviata.");
    QTest::newRow("1362 it") << 1362 << it << QStringLiteral("Riavviare l'applicazione");
    QTest::newRow("1362 en") << 1362 << en << QStringLiteral("Restart the application.");
    QTest::newRow("1301 it, trailing blank") << 1301 << it
        << QStringLiteral("Questa procedura consente di eliminare tutte le scadenze chiuse fino ad una data da specificare. ");
    QTest::newRow("1401 en") << 1401 << en
        << QStringLiteral("Database folder not available or disconnetted. Select another folder.");
    QTest::newRow("1402 it") << 1402 << it << QStringLiteral("Cartella selezionata. Avviare ora il programma.");
    QTest::newRow("1402 de") << 1402 << de << QStringLiteral("Ordner ausgewählt. Starten Sie jetzt das Programm.");
    QTest::newRow("1222 it") << 1222 << it << QStringLiteral("i prossimi xxx giorni");
    QTest::newRow("1222 en") << 1222 << en << QStringLiteral("the next xxx days");
    QTest::newRow("1325 en") << 1325 << en
        << QStringLiteral("Clients / Suppliers  ->  [F5] New - [Return] Edit - [Canc] Delete");
    QTest::newRow("1336 en") << 1336 << en << QStringLiteral("Insert additional notes (tel. n°, etc)");
    QTest::newRow("1353 en") << 1353 << en << QStringLiteral("loading …");
    QTest::newRow("1671 it") << 1671 << it << QStringLiteral("Q");
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
    QTest::newRow("auto fr_CH") << 0 << "100c" << fr;
    QTest::newRow("auto fr 029") << 0 << "e40c" << fr;
    QTest::newRow("auto fr West Indies") << 0 << "1c0c" << fr;
    QTest::newRow("auto es traditional") << 0 << "040a" << es;
    QTest::newRow("auto es_ES") << 0 << "0c0a" << es;
    QTest::newRow("auto es_US") << 0 << "540a" << es;
    QTest::newRow("auto es 419") << 0 << "e40a" << es;
    QTest::newRow("auto de_DE") << 0 << "0407" << de;
    QTest::newRow("auto de_AT") << 0 << "0c07" << de;
    QTest::newRow("auto de_LI") << 0 << "1407" << de;
    QTest::newRow("auto pt_PT") << 0 << "0816" << en;
    QTest::newRow("auto pt_BR") << 0 << "0416" << en;
    QTest::newRow("auto nl_NL") << 0 << "0413" << en;
    QTest::newRow("auto en_US") << 0 << "0409" << en;
    // The comparison is exact text: upper case or a missing zero is no match.
    QTest::newRow("auto upper case") << 0 << "040C" << en;
    QTest::newRow("auto short") << 0 << "410" << en;
    QTest::newRow("auto empty") << 0 << "" << en;
    QTest::newRow("German") << 2 << "0410" << de;
    QTest::newRow("English") << 3 << "0410" << en;
    QTest::newRow("Spanish") << 4 << "0410" << es;
    QTest::newRow("French") << 5 << "0410" << fr;
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
        {"it_IT", QLocale::Italian, QLocale::Italy, "0410", it},
        {"it_CH", QLocale::Italian, QLocale::Switzerland, "0810", it},
        {"it_SM", QLocale::Italian, QLocale::SanMarino, "0410", it},
        {"fr_FR", QLocale::French, QLocale::France, "040c", fr},
        {"fr_BE", QLocale::French, QLocale::Belgium, "080c", fr},
        {"fr_CA", QLocale::French, QLocale::Canada, "0c0c", fr},
        {"fr_CH", QLocale::French, QLocale::Switzerland, "100c", fr},
        {"fr_LU", QLocale::French, QLocale::Luxembourg, "140c", fr},
        {"fr_MC", QLocale::French, QLocale::Monaco, "180c", fr},
        {"fr_RE", QLocale::French, QLocale::Reunion, "200c", fr},
        {"fr_CD", QLocale::French, QLocale::CongoKinshasa, "240c", fr},
        {"fr_SN", QLocale::French, QLocale::Senegal, "280c", fr},
        {"fr_CM", QLocale::French, QLocale::Cameroon, "2c0c", fr},
        {"fr_CI", QLocale::French, QLocale::IvoryCoast, "300c", fr},
        {"fr_ML", QLocale::French, QLocale::Mali, "340c", fr},
        {"fr_MA", QLocale::French, QLocale::Morocco, "380c", fr},
        {"fr_HT", QLocale::French, QLocale::Haiti, "3c0c", fr},
        {"fr_GP", QLocale::French, QLocale::Guadeloupe, "e40c", fr},
        {"fr_DZ", QLocale::French, QLocale::Algeria, "040c", fr},
        {"es_ES", QLocale::Spanish, QLocale::Spain, "0c0a", es},
        {"es_MX", QLocale::Spanish, QLocale::Mexico, "080a", es},
        {"es_GT", QLocale::Spanish, QLocale::Guatemala, "100a", es},
        {"es_CR", QLocale::Spanish, QLocale::CostaRica, "140a", es},
        {"es_PA", QLocale::Spanish, QLocale::Panama, "180a", es},
        {"es_DO", QLocale::Spanish, QLocale::DominicanRepublic, "1c0a", es},
        {"es_VE", QLocale::Spanish, QLocale::Venezuela, "200a", es},
        {"es_CO", QLocale::Spanish, QLocale::Colombia, "240a", es},
        {"es_PE", QLocale::Spanish, QLocale::Peru, "280a", es},
        {"es_AR", QLocale::Spanish, QLocale::Argentina, "2c0a", es},
        {"es_EC", QLocale::Spanish, QLocale::Ecuador, "300a", es},
        {"es_CL", QLocale::Spanish, QLocale::Chile, "340a", es},
        {"es_UY", QLocale::Spanish, QLocale::Uruguay, "380a", es},
        {"es_PY", QLocale::Spanish, QLocale::Paraguay, "3c0a", es},
        {"es_BO", QLocale::Spanish, QLocale::Bolivia, "400a", es},
        {"es_SV", QLocale::Spanish, QLocale::ElSalvador, "440a", es},
        {"es_HN", QLocale::Spanish, QLocale::Honduras, "480a", es},
        {"es_NI", QLocale::Spanish, QLocale::Nicaragua, "4c0a", es},
        {"es_PR", QLocale::Spanish, QLocale::PuertoRico, "500a", es},
        {"es_US", QLocale::Spanish, QLocale::UnitedStates, "540a", es},
        {"es_419", QLocale::Spanish, QLocale::LatinAmerica, "e40a", es},
        {"es_CU", QLocale::Spanish, QLocale::Cuba, "e40a", es},
        {"es_GQ", QLocale::Spanish, QLocale::EquatorialGuinea, "0c0a", es},
        {"de_DE", QLocale::German, QLocale::Germany, "0407", de},
        {"de_CH", QLocale::German, QLocale::Switzerland, "0807", de},
        {"de_AT", QLocale::German, QLocale::Austria, "0c07", de},
        {"de_LU", QLocale::German, QLocale::Luxembourg, "1007", de},
        {"de_LI", QLocale::German, QLocale::Liechtenstein, "1407", de},
        {"de_BE", QLocale::German, QLocale::Belgium, "0407", de},
        {"en_US", QLocale::English, QLocale::UnitedStates, "0409", en},
        {"en_GB", QLocale::English, QLocale::UnitedKingdom, "0809", en},
        {"pt_PT", QLocale::Portuguese, QLocale::Portugal, "0816", en},
        {"pt_BR", QLocale::Portuguese, QLocale::Brazil, "0416", en},
        {"nl_NL", QLocale::Dutch, QLocale::Netherlands, "0413", en},
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
    QCOMPARE(SettingInt(SettingsKey::IntLang, untouched), changes ? index : untouched);
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
