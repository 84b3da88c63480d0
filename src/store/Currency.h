#pragma once

#include <QMetaType>
#include <QString>
#include <QStringView>
#include <QtGlobal>

#include <compare>
#include <optional>

// Money as the database keeps it: a signed 64-bit count of ten-thousandths, so
// sums and signs are exact at any size the column can hold. Stored in SQLite as
// that same integer.
class Currency
{
public:
    static constexpr qint64 Scale = 10000;

    constexpr Currency() = default;
    static constexpr Currency fromUnits(qint64 units) { Currency c; c.m_units = units; return c; }
    static constexpr Currency fromWhole(qint64 whole) { return fromUnits(whole * Scale); }
    // A count of ten-thousandths held in a double, rounded; nothing when it is no
    // number or lies past the range (a value another program wrote into the file).
    static std::optional<Currency> fromRoundedUnits(double units);

    // Exact parse of a plain decimal text ("12.5", "-0.0001", " 3"): optional blanks,
    // optional sign, digits, optional decimalPoint with at most four digits (more are
    // refused, not rounded). No grouping, no symbol. Nothing when out of range.
    static std::optional<Currency> parse(QStringView text, QChar decimalPoint = u'.');

    constexpr qint64 units() const { return m_units; }
    double toDouble() const { return double(m_units) / Scale; }

    // Plain text with a point, no trailing zeros ("12.5", "-12.5", "0").
    QString toPlainText() const;

    // Checked arithmetic: nothing on overflow.
    std::optional<Currency> checkedAdd(Currency other) const;
    std::optional<Currency> checkedMul(qint64 factor) const;

    Currency operator+(Currency o) const { return fromUnits(m_units + o.m_units); }
    Currency operator-(Currency o) const { return fromUnits(m_units - o.m_units); }
    Currency operator-() const { return fromUnits(-m_units); }
    Currency &operator+=(Currency o) { m_units += o.m_units; return *this; }
    constexpr auto operator<=>(const Currency &) const = default;

private:
    qint64 m_units = 0;
};

Q_DECLARE_METATYPE(Currency)

// Registers Currency with Qt's type system, with converters to double and to
// plain text so a QVariant holding one reads as a number. Safe to call often.
void registerCurrencyMetaType();
