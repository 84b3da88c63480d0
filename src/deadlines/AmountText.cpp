#include "deadlines/AmountText.h"

#include "platform/LocaleDigits.h"

namespace AmountText {
namespace {

// Blanks, and the invisible direction marks (U+061C, U+200F ...) that right-to-left
// locales put around signs and currency symbols: neither is part of the amount.
bool isBlank(QChar c)
{
    return c.isSpace() || c == QChar(0x00A0) || c == QChar(0x202F) || c.category() == QChar::Other_Format;
}

QString withoutBlanks(const QString &text)
{
    QString s;
    for (QChar c : text) {
        if (!isBlank(c))
            s.append(c);
    }
    return s;
}

// Removes one leading or trailing occurrence of any of the affixes; true when one went.
bool stripAffix(QString &s, const QStringList &affixes)
{
    for (const QString &a : affixes) {
        if (a.isEmpty())
            continue;
        if (s.startsWith(a)) {
            s.remove(0, a.size());
            return true;
        }
        if (s.endsWith(a)) {
            s.chop(a.size());
            return true;
        }
    }
    return false;
}

// The digits per group the locale writes: the last group before the decimal
// separator and the ones before it (3 and 3 in most locales, 3 and 2 in India).
struct Grouping
{
    int last = 3;
    int others = 3;
};

Grouping groupingOf(const QLocale &locale)
{
    const QString group = locale.groupSeparator();
    Grouping g;
    if (group.isEmpty())
        return g;
    const QStringList parts =
        LocaleDigits::toAscii(locale.toString(qlonglong(1234567890123LL)), locale).split(group);
    if (parts.size() >= 2)
        g.last = int(parts.at(parts.size() - 1).size());
    if (parts.size() >= 3)
        g.others = int(parts.at(parts.size() - 2).size());
    return g;
}

// True when the whole part is grouped exactly as the locale itself writes that
// number: some locales leave the leading group of a large number unsplit
// ("4121.255" in Spanish), and an amount the program showed must read back.
bool groupedAsShown(const QString &wholeDigits, const QList<int> &groups, const QLocale &locale)
{
    bool ok = false;
    const qlonglong whole = wholeDigits.toLongLong(&ok);
    if (!ok || groups.size() < 2)
        return false;
    const QStringList shown = LocaleDigits::toAscii(locale.toString(whole), locale).split(locale.groupSeparator());
    if (shown.size() != groups.size())
        return false;
    for (qsizetype i = 0; i < shown.size(); ++i) {
        if (shown.at(i).size() != groups.at(i))
            return false;
    }
    return true;
}

// True when the digit counts between group separators (first to last) follow the
// locale: the first group 1 to "others" digits, the inner ones exactly "others",
// the last exactly "last".
bool groupsInPlace(const QList<int> &groups, const Grouping &g)
{
    if (groups.size() < 2)
        return true;
    if (groups.first() < 1 || groups.first() > g.others || groups.last() != g.last)
        return false;
    for (qsizetype i = 1; i + 1 < groups.size(); ++i) {
        if (groups.at(i) != g.others)
            return false;
    }
    return true;
}

std::optional<Currency> parseText(const QString &text, const QLocale &locale, bool entry);

} // namespace

std::optional<Currency> parse(const QString &text, const QLocale &locale)
{
    return parseText(text, locale, false);
}

std::optional<Currency> parseEntry(const QString &text, const QLocale &locale)
{
    return parseText(text, locale, true);
}

namespace {

std::optional<Currency> parseText(const QString &text, const QLocale &locale, bool entry)
{
    // The locale's own digits ("١٢٫٥٠") read as 0-9, so both kinds are taken.
    QString s = LocaleDigits::toAscii(withoutBlanks(text), locale);

    const QStringList symbols{withoutBlanks(locale.currencySymbol(QLocale::CurrencySymbol)),
                              locale.currencySymbol(QLocale::CurrencyIsoCode)};
    QStringList minus{QStringLiteral("-")};
    if (withoutBlanks(locale.negativeSign()) != QLatin1String("-"))
        minus << withoutBlanks(locale.negativeSign());
    const QStringList plus{QStringLiteral("+"), withoutBlanks(locale.positiveSign())};

    bool negative = false;
    bool signSeen = false;
    if (entry && (s.contains(u'(') || s.contains(u')')))
        return std::nullopt;
    if (s.startsWith(u'(') && s.endsWith(u')')) {
        s = s.mid(1, s.size() - 2);
        negative = signSeen = true;
    }
    // Symbol and sign may come in either order, on either side.
    for (int pass = 0; pass < 4; ++pass) {
        bool changed = stripAffix(s, symbols);
        if (!signSeen) {
            if (stripAffix(s, minus))
                negative = signSeen = changed = true;
            else if (stripAffix(s, plus))
                signSeen = changed = true;
        }
        if (!changed)
            break;
    }

    if (entry && negative)
        return std::nullopt;

    const QString decimal = locale.decimalPoint();
    const QString group = locale.groupSeparator();
    QString whole, fraction;
    QList<int> groups{0};   // digits of the whole part between group separators
    bool inFraction = false;
    for (int i = 0; i < s.size();) {
        const QChar c = s.at(i);
        if (c >= u'0' && c <= u'9') {
            (inFraction ? fraction : whole).append(c);
            if (!inFraction)
                ++groups.last();
            ++i;
        } else if (!decimal.isEmpty() && QStringView(s).mid(i).startsWith(decimal) && !inFraction) {
            inFraction = true;
            i += decimal.size();
        } else if (!group.isEmpty() && !isBlank(group.at(0)) && QStringView(s).mid(i).startsWith(group)
                   && !inFraction) {
            groups.append(0);
            i += group.size();
        } else {
            return std::nullopt;
        }
    }
    if (entry && !groupsInPlace(groups, groupingOf(locale)) && !groupedAsShown(whole, groups, locale))
        return std::nullopt;
    if (whole.isEmpty() && fraction.isEmpty())
        return std::nullopt;
    if (whole.isEmpty())
        whole = QStringLiteral("0");

    // Round to the four decimals the currency keeps, half to even.
    bool roundUp = false;
    if (fraction.size() > 4) {
        const QString rest = fraction.mid(4);
        fraction.truncate(4);
        const int first = rest.at(0).digitValue();
        bool moreAfterFirst = false;
        for (QChar c : QStringView(rest).mid(1))
            moreAfterFirst = moreAfterFirst || c != u'0';
        const QChar last = fraction.at(3);
        const bool lastOdd = last.digitValue() % 2 == 1;
        roundUp = first > 5 || (first == 5 && (moreAfterFirst || lastOdd));
    }

    std::optional<Currency> value =
        Currency::parse(fraction.isEmpty() ? whole : whole + u'.' + fraction);
    if (!value)
        return std::nullopt;
    if (roundUp) {
        value = value->checkedAdd(Currency::fromUnits(1));
        if (!value)
            return std::nullopt;
    }
    if (negative)
        value = Currency::fromUnits(-value->units());
    return value;
}

} // namespace

QString format(Currency amount, const QLocale &locale)
{
    const bool negative = amount.units() < 0;
    // Ten-thousandths of the magnitude; the unsigned type also holds the most negative amount.
    const quint64 magnitude = negative ? quint64(0) - quint64(amount.units()) : quint64(amount.units());
    const quint64 whole = magnitude / quint64(Currency::Scale);
    const quint64 fraction = magnitude % quint64(Currency::Scale);

    QString decimals = QStringLiteral("%1").arg(fraction, 4, 10, QLatin1Char('0'));
    if (decimals.endsWith(QLatin1String("00")))
        decimals.chop(2);
    else if (decimals.endsWith(u'0'))
        decimals.chop(1);

    const QString number = locale.toString(whole) + locale.decimalPoint() + LocaleDigits::fromAscii(decimals, locale);
    // The locale's currency pattern (symbol place, blank, sign form) with a
    // placeholder number in it.
    const QString placeholder = locale.toString(7);
    QString pattern = locale.toCurrencyString(negative ? qlonglong(-7) : qlonglong(7));
    const qsizetype at = pattern.lastIndexOf(placeholder);
    if (at < 0)
        return (negative ? locale.negativeSign() : QString()) + number;
    pattern.replace(at, placeholder.size(), number);
    return pattern;
}

} // namespace AmountText
