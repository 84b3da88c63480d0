#include "store/MoneySum.h"

#include <limits>

std::optional<Currency> storedAmount(const QVariant &value)
{
    if (!value.isValid() || value.isNull())
        return Currency();
    if (value.metaType() == QMetaType::fromType<Currency>())
        return value.value<Currency>();
    return std::nullopt;
}

MoneySum MoneySum::fromUnits(__int128 units)
{
    MoneySum sum;
    sum.m_units = units;
    return sum;
}

void MoneySum::add(std::optional<Currency> amount)
{
    if (amount)
        m_units += amount->units();
    else
        m_outOfRange = true;
}

void MoneySum::add(const MoneySum &other)
{
    m_units += other.m_units;
    m_outOfRange = m_outOfRange || other.m_outOfRange;
}

std::optional<Currency> MoneySum::toCurrency() const
{
    if (m_outOfRange || m_units < std::numeric_limits<qint64>::min() || m_units > std::numeric_limits<qint64>::max())
        return std::nullopt;
    return Currency::fromUnits(qint64(m_units));
}
