#include "startup/Language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QList>
#include <QStringList>
#include <QTranslator>

#include <memory>
#include <utility>

namespace {

// Locale identifiers as the platform reports them, compared as text; the first
// list holding the code decides the language.
const QStringList ItalianCodes = {QStringLiteral("0410"), QStringLiteral("0810")};
const QStringList FrenchCodes = {
    QStringLiteral("040c"), QStringLiteral("080c"), QStringLiteral("2c0c"), QStringLiteral("0c0c"),
    QStringLiteral("240c"), QStringLiteral("300c"), QStringLiteral("3c0c"), QStringLiteral("140c"),
    QStringLiteral("340c"), QStringLiteral("180c"), QStringLiteral("380c"), QStringLiteral("e40c"),
    QStringLiteral("200c"), QStringLiteral("280c"), QStringLiteral("100c"), QStringLiteral("1c0c")};
const QStringList SpanishCodes = {
    QStringLiteral("0c0a"), QStringLiteral("040a"), QStringLiteral("2c0a"), QStringLiteral("400a"),
    QStringLiteral("340a"), QStringLiteral("240a"), QStringLiteral("140a"), QStringLiteral("1c0a"),
    QStringLiteral("300a"), QStringLiteral("440a"), QStringLiteral("100a"), QStringLiteral("480a"),
    QStringLiteral("e40a"), QStringLiteral("080a"), QStringLiteral("4c0a"), QStringLiteral("180a"),
    QStringLiteral("3c0a"), QStringLiteral("280a"), QStringLiteral("500a"), QStringLiteral("540a"),
    QStringLiteral("380a"), QStringLiteral("200a")};
const QStringList GermanCodes = {QStringLiteral("0407"), QStringLiteral("0c07"), QStringLiteral("1407"),
                                 QStringLiteral("1007"), QStringLiteral("0807")};

} // namespace

Language chooseLanguage(qint32 languageChoice, const QString &localeLanguageCode)
{
    switch (languageChoice) {
    case 2:
        return Language::German;
    case 4:
        return Language::Spanish;
    case 5:
        return Language::French;
    case 6:
        return Language::Italian;
    case 0:
        break;
    default:
        return Language::English;
    }
    if (ItalianCodes.contains(localeLanguageCode))
        return Language::Italian;
    if (FrenchCodes.contains(localeLanguageCode))
        return Language::French;
    if (SpanishCodes.contains(localeLanguageCode))
        return Language::Spanish;
    if (GermanCodes.contains(localeLanguageCode))
        return Language::German;
    return Language::English;
}

namespace {

struct TerritoryCode
{
    QLocale::Territory territory;
    quint16 langId;
};

// Windows language identifiers: primary language in the low 10 bits, sublanguage
// above. Sublanguage 0x39 is the regional one (Caribbean French, Latin-American
// Spanish).
constexpr quint16 makeLangId(quint16 primary, quint16 sub) { return quint16(primary | (sub << 10)); }

constexpr quint16 LangItalian = 0x10, LangFrench = 0x0c, LangSpanish = 0x0a, LangGerman = 0x07,
                  LangEnglish = 0x09, LangPortuguese = 0x16, LangDutch = 0x13, LangChinese = 0x04;

// No Windows identifier at all: what the platform reports for a custom locale.
constexpr quint16 LocaleCustomUnspecified = 0x1000;
constexpr quint16 LocaleInvariant = 0x007f;

const QList<TerritoryCode> ItalianTerritories = {
    {QLocale::Italy, makeLangId(LangItalian, 1)},
    {QLocale::Switzerland, makeLangId(LangItalian, 2)},
};

const QList<TerritoryCode> FrenchTerritories = {
    {QLocale::France, makeLangId(LangFrench, 1)},
    {QLocale::Belgium, makeLangId(LangFrench, 2)},
    {QLocale::Canada, makeLangId(LangFrench, 3)},
    {QLocale::Switzerland, makeLangId(LangFrench, 4)},
    {QLocale::Luxembourg, makeLangId(LangFrench, 5)},
    {QLocale::Monaco, makeLangId(LangFrench, 6)},
    {QLocale::Reunion, makeLangId(LangFrench, 8)},
    {QLocale::CongoKinshasa, makeLangId(LangFrench, 9)},
    {QLocale::Senegal, makeLangId(LangFrench, 10)},
    {QLocale::Cameroon, makeLangId(LangFrench, 11)},
    {QLocale::IvoryCoast, makeLangId(LangFrench, 12)},
    {QLocale::Mali, makeLangId(LangFrench, 13)},
    {QLocale::Morocco, makeLangId(LangFrench, 14)},
    {QLocale::Haiti, makeLangId(LangFrench, 15)},
    {QLocale::Guadeloupe, makeLangId(LangFrench, 0x39)},
    {QLocale::Martinique, makeLangId(LangFrench, 0x39)},
    {QLocale::SaintBarthelemy, makeLangId(LangFrench, 0x39)},
    {QLocale::SaintMartin, makeLangId(LangFrench, 0x39)},
    {QLocale::FrenchGuiana, makeLangId(LangFrench, 0x39)},
};

const QList<TerritoryCode> SpanishTerritories = {
    {QLocale::Spain, makeLangId(LangSpanish, 3)},   // modern sort; the traditional one is sublanguage 1
    {QLocale::Mexico, makeLangId(LangSpanish, 2)},
    {QLocale::Guatemala, makeLangId(LangSpanish, 4)},
    {QLocale::CostaRica, makeLangId(LangSpanish, 5)},
    {QLocale::Panama, makeLangId(LangSpanish, 6)},
    {QLocale::DominicanRepublic, makeLangId(LangSpanish, 7)},
    {QLocale::Venezuela, makeLangId(LangSpanish, 8)},
    {QLocale::Colombia, makeLangId(LangSpanish, 9)},
    {QLocale::Peru, makeLangId(LangSpanish, 10)},
    {QLocale::Argentina, makeLangId(LangSpanish, 11)},
    {QLocale::Ecuador, makeLangId(LangSpanish, 12)},
    {QLocale::Chile, makeLangId(LangSpanish, 13)},
    {QLocale::Uruguay, makeLangId(LangSpanish, 14)},
    {QLocale::Paraguay, makeLangId(LangSpanish, 15)},
    {QLocale::Bolivia, makeLangId(LangSpanish, 16)},
    {QLocale::ElSalvador, makeLangId(LangSpanish, 17)},
    {QLocale::Honduras, makeLangId(LangSpanish, 18)},
    {QLocale::Nicaragua, makeLangId(LangSpanish, 19)},
    {QLocale::PuertoRico, makeLangId(LangSpanish, 20)},
    {QLocale::UnitedStates, makeLangId(LangSpanish, 21)},
    {QLocale::LatinAmerica, makeLangId(LangSpanish, 0x39)},
    {QLocale::Cuba, makeLangId(LangSpanish, 0x39)},
};

const QList<TerritoryCode> GermanTerritories = {
    {QLocale::Germany, makeLangId(LangGerman, 1)},
    {QLocale::Switzerland, makeLangId(LangGerman, 2)},
    {QLocale::Austria, makeLangId(LangGerman, 3)},
    {QLocale::Luxembourg, makeLangId(LangGerman, 4)},
    {QLocale::Liechtenstein, makeLangId(LangGerman, 5)},
};

const QList<TerritoryCode> EnglishTerritories = {
    {QLocale::UnitedStates, makeLangId(LangEnglish, 1)},
    {QLocale::UnitedKingdom, makeLangId(LangEnglish, 2)},
    {QLocale::Australia, makeLangId(LangEnglish, 3)},
    {QLocale::Canada, makeLangId(LangEnglish, 4)},
    {QLocale::NewZealand, makeLangId(LangEnglish, 5)},
    {QLocale::Ireland, makeLangId(LangEnglish, 6)},
    {QLocale::SouthAfrica, makeLangId(LangEnglish, 7)},
    {QLocale::Jamaica, makeLangId(LangEnglish, 8)},
    {QLocale::Belize, makeLangId(LangEnglish, 10)},
    {QLocale::TrinidadAndTobago, makeLangId(LangEnglish, 11)},
    {QLocale::Zimbabwe, makeLangId(LangEnglish, 12)},
    {QLocale::Philippines, makeLangId(LangEnglish, 13)},
    {QLocale::India, makeLangId(LangEnglish, 16)},
    {QLocale::Malaysia, makeLangId(LangEnglish, 17)},
    {QLocale::Singapore, makeLangId(LangEnglish, 18)},
};

const QList<TerritoryCode> PortugueseTerritories = {
    {QLocale::Brazil, makeLangId(LangPortuguese, 1)},
    {QLocale::Portugal, makeLangId(LangPortuguese, 2)},
};

const QList<TerritoryCode> DutchTerritories = {
    {QLocale::Netherlands, makeLangId(LangDutch, 1)},
    {QLocale::Belgium, makeLangId(LangDutch, 2)},
};

const QList<TerritoryCode> ChineseTerritories = {
    {QLocale::Taiwan, makeLangId(LangChinese, 1)},
    {QLocale::China, makeLangId(LangChinese, 2)},
    {QLocale::HongKong, makeLangId(LangChinese, 3)},
    {QLocale::Singapore, makeLangId(LangChinese, 4)},
    {QLocale::Macau, makeLangId(LangChinese, 5)},
};

quint16 lookup(const QList<TerritoryCode> &list, QLocale::Territory territory, quint16 fallback)
{
    for (const TerritoryCode &t : list) {
        if (t.territory == territory)
            return t.langId;
    }
    return fallback;
}

// Primary language identifiers of the other common languages; their default
// sublanguage is 1.
quint16 primaryLanguageId(QLocale::Language language)
{
    switch (language) {
    case QLocale::Arabic: return 0x01;
    case QLocale::Bulgarian: return 0x02;
    case QLocale::Catalan: return 0x03;
    case QLocale::Czech: return 0x05;
    case QLocale::Danish: return 0x06;
    case QLocale::Greek: return 0x08;
    case QLocale::Finnish: return 0x0b;
    case QLocale::Hebrew: return 0x0d;
    case QLocale::Hungarian: return 0x0e;
    case QLocale::Icelandic: return 0x0f;
    case QLocale::Japanese: return 0x11;
    case QLocale::Korean: return 0x12;
    case QLocale::NorwegianBokmal: return 0x14;
    case QLocale::Polish: return 0x15;
    case QLocale::Romansh: return 0x17;
    case QLocale::Romanian: return 0x18;
    case QLocale::Russian: return 0x19;
    case QLocale::Croatian: return 0x1a;
    case QLocale::Slovak: return 0x1b;
    case QLocale::Albanian: return 0x1c;
    case QLocale::Swedish: return 0x1d;
    case QLocale::Thai: return 0x1e;
    case QLocale::Turkish: return 0x1f;
    case QLocale::Urdu: return 0x20;
    case QLocale::Indonesian: return 0x21;
    case QLocale::Ukrainian: return 0x22;
    case QLocale::Belarusian: return 0x23;
    case QLocale::Slovenian: return 0x24;
    case QLocale::Estonian: return 0x25;
    case QLocale::Latvian: return 0x26;
    case QLocale::Lithuanian: return 0x27;
    case QLocale::Vietnamese: return 0x2a;
    case QLocale::Basque: return 0x2d;
    case QLocale::Hindi: return 0x39;
    case QLocale::Maltese: return 0x3a;
    case QLocale::Irish: return 0x3c;
    case QLocale::Welsh: return 0x52;
    case QLocale::Galician: return 0x56;
    case QLocale::Luxembourgish: return 0x6e;
    case QLocale::Breton: return 0x7e;
    case QLocale::Corsican: return 0x83;
    default: return 0;
    }
}

quint16 localeLangId(const QLocale &locale)
{
    const QLocale::Territory territory = locale.territory();
    switch (locale.language()) {
    case QLocale::C:
        return LocaleInvariant;
    // A territory Windows has no identifier for still gets the language's main
    // one, so every Italian, French, Spanish or German speaker keeps the language.
    case QLocale::Italian:
        return lookup(ItalianTerritories, territory, makeLangId(LangItalian, 1));
    case QLocale::French:
        return lookup(FrenchTerritories, territory, makeLangId(LangFrench, 1));
    case QLocale::Spanish:
        return lookup(SpanishTerritories, territory, makeLangId(LangSpanish, 3));
    case QLocale::German:
        return lookup(GermanTerritories, territory, makeLangId(LangGerman, 1));
    case QLocale::English:
        return lookup(EnglishTerritories, territory, makeLangId(LangEnglish, 1));
    case QLocale::Portuguese:
        return lookup(PortugueseTerritories, territory, makeLangId(LangPortuguese, 1));
    case QLocale::Dutch:
        return lookup(DutchTerritories, territory, makeLangId(LangDutch, 1));
    case QLocale::Chinese:
        return lookup(ChineseTerritories, territory, makeLangId(LangChinese, 2));
    default:
        break;
    }
    const quint16 primary = primaryLanguageId(locale.language());
    return primary ? makeLangId(primary, 1) : LocaleCustomUnspecified;
}

} // namespace

QString localeLanguageCode(const QLocale &locale)
{
    return QStringLiteral("%1").arg(localeLangId(locale), 4, 16, QLatin1Char('0'));
}

QString languageCode(Language language)
{
    switch (language) {
    case Language::Italian: return QStringLiteral("it");
    case Language::French: return QStringLiteral("fr");
    case Language::Spanish: return QStringLiteral("es");
    case Language::German: return QStringLiteral("de");
    case Language::English: break;
    }
    return QStringLiteral("en");
}

void installQtTranslation(Language language)
{
    static QTranslator *installed = nullptr;
    if (installed) {
        QCoreApplication::removeTranslator(installed);
        delete std::exchange(installed, nullptr);
    }
    if (language == Language::English || !QCoreApplication::instance())
        return;
    auto translator = std::make_unique<QTranslator>();
    if (translator->load(QStringLiteral("qtbase_") + languageCode(language),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath))
        && QCoreApplication::installTranslator(translator.get()))
        installed = translator.release();
}

QString helpFileName(Language language)
{
    switch (language) {
    case Language::Italian:
        return QStringLiteral("ita_help.html");
    case Language::French:
        return QStringLiteral("fra_help.html");
    case Language::Spanish:
        return QStringLiteral("esp_help.html");
    case Language::German:
        return QStringLiteral("deu_help.html");
    default:
        return QStringLiteral("eng_help.html");
    }
}
