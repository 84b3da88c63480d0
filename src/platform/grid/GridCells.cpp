#include "platform/grid/GridCells.h"

#include "platform/grid/GridValues.h"
#include "store/Prefault.h"

int GridCells::size() const
{
    switch (m_kind) {
    case Kind::Variant:
        return int(m_variants.size());
    case Kind::Money:
        return int(m_money.size());
    case Kind::Text:
        return m_texts.size();
    default:
        return int(m_numbers.size());
    }
}

int GridCells::capacity() const
{
    switch (m_kind) {
    case Kind::Variant:
        return int(m_variants.capacity());
    case Kind::Money:
        return int(m_money.capacity());
    case Kind::Text:
        return int(m_texts.capacity());
    default:
        return int(m_numbers.capacity());
    }
}

void GridCells::reserve(int rows)
{
    switch (m_kind) {
    case Kind::Variant:
        m_variants.reserve(rows);
        return prefault(m_variants);
    case Kind::Money:
        m_money.reserve(rows);
        return prefault(m_money);
    case Kind::Text:
        m_texts.reserve(rows);
        return m_texts.commit(0, rows);
    default:
        m_numbers.reserve(rows);
        return prefault(m_numbers);
    }
}

void GridCells::resize(int rows)
{
    switch (m_kind) {
    case Kind::Variant:
        return m_variants.resize(rows);
    case Kind::Money:
        return m_money.resize(rows, NullMoney);
    case Kind::Text:
        return m_texts.resize(rows);
    default:
        return m_numbers.resize(rows, NullNumber);
    }
}

QVariant GridCells::at(int row) const
{
    switch (m_kind) {
    case Kind::Variant:
        return m_variants[row];
    case Kind::Money:
        return numberValue(m_kind, m_money[row]);
    case Kind::Text:
        return m_texts.isNull(row) ? QVariant() : QVariant(m_texts.at(row));
    default:
        return numberValue(m_kind, m_numbers[row]);
    }
}

QVariant GridCells::numberValue(Kind kind, std::int64_t number)
{
    switch (kind) {
    case Kind::Money:
        return number == NullMoney ? QVariant() : QVariant::fromValue(Currency::fromUnits(number));
    case Kind::Boolean:
        return number == NullNumber ? QVariant() : QVariant(number != 0);
    case Kind::Date:
        return number == NullNumber ? QVariant() : QVariant(QDate::fromJulianDay(number));
    default:
        return number == NullNumber ? QVariant() : QVariant(int(number));
    }
}

void GridCells::setNumber(int row, std::int64_t number)
{
    Q_ASSERT(isNumeric());
    if (m_kind == Kind::Money)
        m_money[row] = number;
    else
        m_numbers[row] = qint32(number);
}

bool GridCells::fits(const QVariant &value) const
{
    if (!value.isValid())
        return true;
    switch (m_kind) {
    case Kind::Boolean:
        return value.typeId() == QMetaType::Bool;
    case Kind::Integer:
        return value.typeId() == QMetaType::Int && value.toInt() != NullNumber;
    case Kind::Date: {
        if (value.typeId() != QMetaType::QDate || !value.toDate().isValid())
            return false;
        const qint64 day = value.toDate().toJulianDay();
        return day > NullNumber && day <= std::numeric_limits<qint32>::max();
    }
    case Kind::Money:
        return GridValues::isCurrency(value) && value.value<Currency>().units() != NullMoney;
    case Kind::Text:
        return value.typeId() == QMetaType::QString && !value.toString().isNull();
    default:
        return true;
    }
}

void GridCells::store(int row, const QVariant &value)
{
    const bool null = !value.isValid();
    switch (m_kind) {
    case Kind::Variant:
        m_variants[row] = value;
        return;
    case Kind::Money:
        m_money[row] = null ? NullMoney : value.value<Currency>().units();
        return;
    case Kind::Text:
        m_texts.set(row, null ? QString() : value.toString());
        return;
    case Kind::Date:
        m_numbers[row] = null ? NullNumber : qint32(value.toDate().toJulianDay());
        return;
    default:
        m_numbers[row] = null ? NullNumber : qint32(value.toInt());
        return;
    }
}

void GridCells::becomeVariants()
{
    std::vector<QVariant> variants;
    variants.reserve(std::max(size_t(size()), m_numbers.capacity() + m_money.capacity() + m_texts.capacity()));
    for (int row = 0; row < size(); ++row)
        variants.push_back(at(row));
    m_numbers = {};
    m_money = {};
    m_texts = {};
    m_variants = std::move(variants);
    m_kind = Kind::Variant;
}

void GridCells::set(int row, const QVariant &value)
{
    if (!fits(value))
        becomeVariants();
    store(row, value);
}

void GridCells::append(const QVariant &value)
{
    if (!fits(value))
        becomeVariants();
    resize(size() + 1);
    store(size() - 1, value);
}

GridCells GridCells::ofNumbers(Kind kind, std::vector<qint32> numbers)
{
    Q_ASSERT(kind == Kind::Boolean || kind == Kind::Integer || kind == Kind::Date);
    GridCells cells(kind);
    cells.m_numbers = std::move(numbers);
    return cells;
}

GridCells GridCells::ofMoney(std::vector<qint64> units)
{
    GridCells cells(Kind::Money);
    cells.m_money = std::move(units);
    return cells;
}

GridCells GridCells::ofTexts(TextColumn texts)
{
    GridCells cells(Kind::Text);
    texts.finishFilling();
    cells.m_texts = std::move(texts);
    return cells;
}

bool GridCells::isNull(int row) const
{
    switch (m_kind) {
    case Kind::Variant:
        return GridValues::isNull(m_variants[row]);
    case Kind::Money:
        return m_money[row] == NullMoney;
    case Kind::Text:
        return m_texts.isNull(row);
    default:
        return m_numbers[row] == NullNumber;
    }
}

bool GridCells::isExact(int row) const
{
    if (m_kind == Kind::Text)
        return m_texts.isNull(row);
    if (m_kind != Kind::Variant)
        return true;
    const QVariant &v = m_variants[row];
    return GridValues::isNull(v) || GridValues::isIntegral(v) || GridValues::isCurrency(v)
        || v.typeId() == QMetaType::QDate
        || v.typeId() == QMetaType::QDateTime;
}

std::int64_t GridCells::number(int row) const
{
    if (m_kind == Kind::Money)
        return m_money[row] == NullMoney ? std::numeric_limits<std::int64_t>::min() : m_money[row];
    const qint32 n = m_numbers[row];
    return n == NullNumber ? std::numeric_limits<std::int64_t>::min() : n;
}
