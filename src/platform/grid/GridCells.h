#pragma once

#include "store/Currency.h"
#include "store/TextColumn.h"

#include <QDate>
#include <QString>
#include <QVariant>

#include <cstdint>
#include <limits>
#include <vector>

// One column's values, each row held as its type: yes/no, integers and dates
// (as their day number) in four bytes, money as its ten-thousandths, texts as
// shared strings. A list of 100,000 rows holds a fifth of what one QVariant per
// cell would, and is filled and ordered without a QVariant per cell. A value
// the column's kind cannot hold (a text in a money column, say) turns the whole
// column into plain QVariants, so every value reads back exactly as it was put.
class GridCells
{
public:
    enum class Kind : std::uint8_t { Variant, Boolean, Integer, Date, Money, Text };

    explicit GridCells(Kind kind = Kind::Variant) : m_kind(kind) {}

    Kind kind() const { return m_kind; }
    int size() const;
    int capacity() const;
    void reserve(int rows);
    // Null up to rows, or cut down to them.
    void resize(int rows);
    // Every value gone; the column keeps its kind.
    void clear() { resize(0); }

    // Invalid QVariant for Null.
    QVariant at(int row) const;
    void set(int row, const QVariant &value);
    void append(const QVariant &value);

    // Nulls of a typed column, as a caller filling one whole column writes them.
    static constexpr qint32 NullNumber = std::numeric_limits<qint32>::min();
    static constexpr qint64 NullMoney = std::numeric_limits<qint64>::min();
    // A column filled elsewhere, taken over whole: Boolean (0 or 1), Integer and
    // Date (the Julian day) columns of numbers, money in ten-thousandths, texts
    // (a null QString is Null).
    static GridCells ofNumbers(Kind kind, std::vector<qint32> numbers);
    static GridCells ofMoney(std::vector<qint64> units);
    static GridCells ofTexts(TextColumn texts);
    // A Boolean, Integer, Date or Money column's value put as the number it is
    // held as (NullNumber or NullMoney for Null), and that number as a QVariant.
    void setNumber(int row, std::int64_t number);
    static QVariant numberValue(Kind kind, std::int64_t number);

    // Its value in a comparable number needs no other row: Null, integers, dates
    // and money.
    bool isExact(int row) const;
    bool isNull(int row) const;
    // For Boolean, Integer, Date and Money columns: the value as a number that
    // orders as it does (day number, ten-thousandths), Null below everything.
    std::int64_t number(int row) const;
    bool isNumeric() const { return m_kind != Kind::Variant && m_kind != Kind::Text; }
    const QString &text(int row) const { return m_texts.at(row); }   // Text columns
    const QVariant &variant(int row) const { return m_variants[row]; }   // Variant columns

private:
    // True when this typed column holds the value as it is, which it then stores.
    bool fits(const QVariant &value) const;
    void store(int row, const QVariant &value);
    void becomeVariants();

    Kind m_kind;
    std::vector<qint32> m_numbers;   // Boolean, Integer, Date
    std::vector<qint64> m_money;
    TextColumn m_texts;
    std::vector<QVariant> m_variants;
};
