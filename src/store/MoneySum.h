#pragma once

#include "store/Currency.h"

#include <QVariant>

#include <optional>

// The amount a value read from a money column stands for: Null counts as 0, and a
// value that no Currency holds (a number past the range or a text another program
// wrote into the file) is no amount: nothing, never some other number.
std::optional<Currency> storedAmount(const QVariant &value);

// The one way amounts are added up, for the list's group captions and the
// report's totals: exactly, in ten-thousandths held in 128 bits, so no number of
// large amounts wraps round to a wrong sign; and out of range for good once one
// of its amounts was no amount.
class MoneySum
{
public:
    MoneySum() = default;
    static MoneySum fromUnits(__int128 units);

    // Nothing stands for an amount out of range.
    void add(std::optional<Currency> amount);
    void add(const MoneySum &other);

    bool isOutOfRange() const { return m_outOfRange; }
    // In ten-thousandths; 0 when out of range.
    __int128 units() const { return m_outOfRange ? 0 : m_units; }
    // As a Currency; nothing when out of range or past Currency's range.
    std::optional<Currency> toCurrency() const;

    bool operator==(const MoneySum &) const = default;

private:
    __int128 m_units = 0;
    bool m_outOfRange = false;
};
