#pragma once

#include "store/MoneySum.h"

#include <QDate>
#include <QLocale>
#include <QString>

#include <functional>
#include <optional>

// The words, dates and money of a report in the user's language and locale. The
// words come from the program's text table through a lookup by text id, so the
// report pieces stay free of how and where that table is kept.
class ReportTexts
{
public:
    using Lookup = std::function<QString(int id)>;
    using DateText = std::function<QString(const QDate &date)>;

    // Text ids the report uses.
    enum Id : int {
        OpenDeadlines = 952,
        ClosedDeadlines = 957,
        DateColumn = 1004,
        DescriptionColumn = 1005,
        AmountColumn = 1007,
        CounterpartyColumn = 1015,
        OfWord = 1050,
        NoCounterparty = 1054,
        UntilToday = 1060, // 1061 until the end of the month, 1062 later
        FilterLabel = 1606,
        Credits = 1610,
        Debits = 1612,
        Appointments = 1614,
        GroupingLabel = 1620,
        NoGroupingItem = 1630, // 1631 to 1634 the other grouping items
        QuarterLetter = 1670,
        FourMonthPrefix = 1671,
    };

    // shortDate writes a date in the locale's short form; when none is given, the
    // locale's own QLocale::ShortFormat serves.
    ReportTexts(Lookup lookup, const QLocale &locale, DateText shortDate = {});

    QString text(int id) const;
    const QLocale &locale() const { return m_locale; }
    QString shortDate(const QDate &date) const;
    // An amount read from the file, or the words saying it is out of range.
    QString amount(std::optional<Currency> amount) const;
    // A total by formatMoneySum(): money, or the words saying why it is no number.
    QString total(const MoneySum &sum) const;

private:
    Lookup m_lookup;
    QLocale m_locale;
    DateText m_shortDate;
};
