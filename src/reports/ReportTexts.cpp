#include "reports/ReportTexts.h"

#include "platform/MoneyFormatter.h"

#include <utility>

ReportTexts::ReportTexts(Lookup lookup, const QLocale &locale, DateText shortDate)
    : m_lookup(std::move(lookup))
    , m_locale(locale)
    , m_shortDate(std::move(shortDate))
{
}

QString ReportTexts::text(int id) const
{
    return m_lookup ? m_lookup(id) : QString();
}

QString ReportTexts::shortDate(const QDate &date) const
{
    return m_shortDate ? m_shortDate(date) : m_locale.toString(date, QLocale::ShortFormat);
}

QString ReportTexts::amount(std::optional<Currency> amount) const
{
    return formatStoredAmount(amount, m_locale, [this](int id) { return text(id); });
}

QString ReportTexts::total(const MoneySum &sum) const
{
    return formatMoneySum(sum, m_locale, [this](int id) { return text(id); });
}
