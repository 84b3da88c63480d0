#include "platform/DateText.h"

#include "platform/LocaleDigits.h"

#include <QList>

#include <algorithm>
#include <array>

namespace DateText {
namespace {

enum Part { Day, Month, Year };

// Day, month and year in the order the locale's short format writes them.
std::array<Part, 3> orderOf(const QLocale &locale)
{
    const QString format = locale.dateFormat(QLocale::ShortFormat);
    std::array<std::pair<qsizetype, Part>, 3> at{{{format.indexOf(u'd'), Day},
                                                  {format.indexOf(u'M'), Month},
                                                  {format.indexOf(u'y'), Year}}};
    std::sort(at.begin(), at.end());
    if (at[0].first < 0)   // a format without one of them: day, month, year
        return {Day, Month, Year};
    return {at[0].second, at[1].second, at[2].second};
}

// The literal characters of the short format ("/", ".", "年" ...).
QString formatSeparators(const QLocale &locale)
{
    QString out;
    for (QChar c : locale.dateFormat(QLocale::ShortFormat)) {
        if (c != u'd' && c != u'M' && c != u'y' && c != u'\'')
            out.append(c);
    }
    return out;
}

int fullYear(const QString &digits, int referenceYear)
{
    const int y = digits.toInt();
    if (digits.size() == 4)
        return y;
    // Of the years ending in these two digits, the one nearest the reference.
    int year = referenceYear - referenceYear % 100 + y;
    if (year > referenceYear + 49)
        year -= 100;
    else if (year < referenceYear - 50)
        year += 100;
    return year;
}

} // namespace

std::optional<QDate> parse(const QString &text, const QLocale &locale, const QDate &referenceDate)
{
    const QString separators = formatSeparators(locale);
    QList<QString> parts;
    bool inDigits = false;
    // The locale's own digits ("٣/٤/٢٠١٧") read as 0-9, so both kinds are taken.
    for (QChar c : LocaleDigits::toAscii(text.trimmed(), locale)) {
        if (c >= u'0' && c <= u'9') {
            if (!inDigits)
                parts.append(QString());
            parts.last().append(c);
            inDigits = true;
        } else if ((c.isLetter() || c.isDigit()) && !separators.contains(c)) {
            return std::nullopt;   // a letter or a digit of another script
        } else {
            inDigits = false;
        }
    }
    const std::array<Part, 3> order = orderOf(locale);

    // The digits alone: two for day and month each, two or four for the year.
    if (parts.size() == 1 && (parts[0].size() == 6 || parts[0].size() == 8)) {
        const QString all = parts.takeFirst();
        qsizetype from = 0;
        for (Part p : order) {
            const qsizetype n = p == Year ? all.size() - 4 : 2;
            parts.append(all.mid(from, n));
            from += n;
        }
    }
    if (parts.size() != 2 && parts.size() != 3)
        return std::nullopt;

    int day = 0, month = 0, year = referenceDate.year();
    qsizetype next = 0;
    for (Part p : order) {
        if (p == Year && parts.size() == 2)
            continue;
        const QString &digits = parts.at(next++);
        if (p == Year) {
            if (digits.size() != 2 && digits.size() != 4)
                return std::nullopt;
            year = fullYear(digits, referenceDate.year());
        } else {
            if (digits.size() > 2)
                return std::nullopt;
            (p == Day ? day : month) = digits.toInt();
        }
    }
    const QDate date(year, month, day);
    if (!date.isValid() || year < 100)
        return std::nullopt;
    return date;
}

} // namespace DateText
