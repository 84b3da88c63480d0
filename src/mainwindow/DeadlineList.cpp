#include "mainwindow/DeadlineList.h"

#include "startup/Texts.h"
#include "store/SqlText.h"

#include <QStringList>

#include <limits>

namespace {

QString bracketedTotal(Currency total, const QLocale &locale)
{
    return QStringLiteral(" [") + formatCurrency(total, locale) + QLatin1Char(']');
}

// Number of currency decimals of the locale and where its plain number sits in
// the locale's positive and negative currency texts.
struct CurrencyLayout
{
    int digits = 2;
    QString positive;   // e.g. "$1.00"
    QString negative;   // e.g. "-$1.00"
    QString sample;     // "1.00" in the locale's digits
};

CurrencyLayout layoutOf(const QLocale &locale)
{
    CurrencyLayout layout;
    layout.positive = locale.toCurrencyString(1.0);
    layout.negative = locale.toCurrencyString(-1.0);
    for (int p = 4; p >= 0; --p) {
        const QString sample = locale.toString(1.0, 'f', p);
        if (layout.positive.contains(sample) && layout.negative.contains(sample)) {
            layout.digits = p;
            layout.sample = sample;
            break;
        }
    }
    return layout;
}

QString localeDigits(const QString &ascii, const QLocale &locale)
{
    const QString zero = locale.zeroDigit();
    if (zero == QLatin1String("0"))
        return ascii;
    QString out;
    for (QChar c : ascii) {
        if (c.isDigit()) {
            // zeroDigit may be a surrogate pair; the other digits follow it in order.
            if (zero.size() == 1) {
                out += QChar(zero.at(0).unicode() + (c.unicode() - u'0'));
            } else {
                const char32_t code = QChar::surrogateToUcs4(zero.at(0), zero.at(1)) + (c.unicode() - u'0');
                out += QString::fromUcs4(&code, 1);
            }
        } else {
            out += c;
        }
    }
    return out;
}

} // namespace

const std::array<ViewFilter, ViewCount> &viewFilters()
{
    static const std::array<ViewFilter, ViewCount> filters = {{
        {951, QStringLiteral("True")},
        {952, QStringLiteral("TrDone=False")},
        {953, QStringLiteral("TrDone=False And TrType<>-2")},
        {954, QStringLiteral("TrDone=False And TrType=1")},
        {955, QStringLiteral("TrDone=False And TrType=-1")},
        {956, QStringLiteral("TrDone=False And TrType=-2")},
        {957, QStringLiteral("TrDone=True")},
        {958, QString()},
    }};
    return filters;
}

int ListColumn::captionId(int column)
{
    return column >= TrRowId && column <= AcNotes ? 1000 + column - 1 : 0;
}

QString baseListQuery()
{
    return QStringLiteral(
        "SELECT TrRowId, TrDbId, TrType, TrDone, TrDate, TrDescription, TrAcId, TrValue, TrBalance, "
        "TrGrpType, TrGrpRow, TrGrpMDay, TrNotes, TrGrpId, Accounts.*, "
        "Trim(TrDescription & ' ' & Accounts.AcName & ' ' & TrNotes & ' ' & Accounts.AcNotes) AS SearchField "
        "FROM Transactions LEFT JOIN Accounts ON Transactions.TrAcId = Accounts.AcId ");
}

QString initialListQuery()
{
    return baseListQuery() + QStringLiteral("Where TrDbId=0");
}

QString listQueryText(int view, int comboIndex, qint32 sheetId, const QDate &selFirst, const QDate &selLast)
{
    QString text = baseListQuery() + QStringLiteral("Where TrDbId=") + QString::number(sheetId)
        + QStringLiteral(" AND (");
    if (view >= CalendarView) {
        text += QStringLiteral("TrDate Between ") + sqlDateLiteral(selFirst) + QStringLiteral(" And ")
            + sqlDateLiteral(selLast) + QStringLiteral(" )");
        return text;
    }
    // The combo box decides the filter; should it sit on the calendar row while a
    // caller asks for a fixed view, the view's own filter keeps the statement valid.
    int row = comboIndex;
    if (row < 0 || row >= CalendarView)
        row = view < 0 ? 0 : view;
    text += viewFilters()[row].expression + QStringLiteral(" )");
    return text;
}

int groupKeyForDate(const QDate &date, int groupOption, const QDate &today)
{
    if (!date.isValid())
        return 0;
    switch (groupOption) {
    case 1: {
        if (date <= today)
            return 0;
        const QDate monthEnd(today.year(), today.month(), today.daysInMonth());
        return date <= monthEnd ? 1 : 2;
    }
    case 2:
        return date.year() * 100 + date.month();
    default:
        return 0;
    }
}

Currency openBalance(bool done, Currency balance)
{
    return done ? Currency() : balance;
}

QString descriptionShown(const QString &description, qint32 grpId, int grpRow, int grpMDay,
                         bool showCounters, const QString &counterSeparator)
{
    if (grpId <= 0 || !showCounters)
        return description;
    return description + QLatin1Char(' ') + QString::number(grpRow) + counterSeparator + QString::number(grpMDay);
}

QString counterSeparatorText()
{
    return QLatin1Char(' ') + Texts::text(1050) + QLatin1Char(' ');
}

bool isExpired(bool done, const QDate &date, const QDate &warningHorizon)
{
    return !done && date.isValid() && date <= warningHorizon;
}

int typeIconIndex(int trType, bool done)
{
    switch (trType) {
    case 1:
        return done ? 11 : 5;
    case -1:
        return done ? 10 : 6;
    case -2:
        return done ? 12 : 7;
    default:
        return -1;
    }
}

int descriptionIconIndex(qint32 grpId, bool done)
{
    if (grpId <= 0)
        return -1;
    return done ? 13 : 9;
}

QString iconResourcePath(int index)
{
    static const char *const names[IconCount] = {
        "group",              // 1
        "calendar",           // 2
        "note",               // 3
        "search",             // 4
        "credit_open",        // 5
        "debit_open",         // 6
        "appointment_open",   // 7
        "info",               // 8
        "recurrence_open",    // 9
        "debit_closed",       // 10
        "credit_closed",      // 11
        "appointment_closed", // 12
        "recurrence_closed",  // 13
    };
    if (index < 1 || index > IconCount)
        return QString();
    return QStringLiteral(":/icons/") + QLatin1String(names[index - 1]) + QStringLiteral(".svg");
}

QString topGroupCaption(const QString &sheetName, const QString &viewCaption, int groupOption,
                        bool showTotals, Currency total, const QLocale &locale)
{
    QString caption = sheetName + QStringLiteral(" - ") + viewCaption;
    if (groupOption == 3 && showTotals)
        caption += bracketedTotal(total, locale);
    return caption;
}

QString counterpartyGroupCaption(const QString &acName, const QString &defaultCaption,
                                 bool showTotals, Currency total, const QLocale &locale)
{
    if (!showTotals)
        return defaultCaption;
    const QString name = acName.isEmpty() ? Texts::text(1054) : defaultCaption;
    return name + bracketedTotal(total, locale);
}

QString dateGroupCaption(int key, int groupOption, bool showTotals, Currency total, const QLocale &locale)
{
    QString caption = QStringLiteral(" ");
    if (groupOption == 1) {
        caption += Texts::text(1060 + key);
    } else if (groupOption == 2) {
        const QDate month(key / 100, key % 100, 1);
        if (month.isValid())
            caption += locale.standaloneMonthName(month.month(), QLocale::LongFormat) + QLatin1Char(' ')
                + locale.toString(month, QStringLiteral("yyyy"));
    }
    if (showTotals)
        caption += bracketedTotal(total, locale);
    return caption;
}

QString formatCurrency(Currency amount, const QLocale &locale)
{
    const CurrencyLayout layout = layoutOf(locale);

    const qint64 units = amount.units();
    // Magnitude as unsigned so that the most negative amount has one too.
    const quint64 magnitude = units < 0 ? quint64(0) - quint64(units) : quint64(units);
    quint64 divisor = 1;
    for (int i = layout.digits; i < 4; ++i)
        divisor *= 10;
    const quint64 rounded = magnitude / divisor + ((magnitude % divisor) * 2 >= divisor && divisor > 1 ? 1 : 0);
    quint64 fractionBase = 1;
    for (int i = 0; i < layout.digits; ++i)
        fractionBase *= 10;
    const quint64 whole = rounded / fractionBase;
    const quint64 fraction = rounded % fractionBase;

    // Whole numbers format exactly; the locale adds its own grouping and digits.
    QString number = locale.toString(qlonglong(whole));
    if (layout.digits > 0)
        number += locale.decimalPoint()
            + localeDigits(QStringLiteral("%1").arg(fraction, layout.digits, 10, QLatin1Char('0')), locale);

    const bool negative = units < 0 && rounded > 0;
    QString text = negative ? layout.negative : layout.positive;
    const qsizetype at = text.indexOf(layout.sample);
    if (at < 0)   // a layout without a recognisable number: fall back to the plain text
        return (negative ? locale.negativeSign() : QString()) + number;
    text.replace(at, layout.sample.size(), number);
    return text;
}
