#include "platform/grid/GridModel.h"

#include "platform/DateFormat.h"
#include "store/comDataBase.h"

#include <QCollator>
#include <QDate>
#include <QDateTime>
#include <QLocale>
#include <QSet>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <numeric>
#include <unordered_map>

struct GridModel::Column
{
    QString name;
    bool computed = false;
    QString caption;
    int width = 100;
    bool visible = true;
    QString format;
    QString emptyText;
    Qt::Alignment alignment;
};

// A run of the sorted order that shares the value of one group column.
struct GridModel::Group
{
    int column = 0;
    int level = 1;
    QVariant value;
    int first = 0;   // positions in Data::order, [first, last)
    int last = 0;
    int parent = -1;
    std::vector<int> children;
    bool expanded = true;
    bool captionReplaced = false;
    mutable bool captionKnown = false;
    mutable QString caption;
    mutable bool styleKnown = false;
    mutable QString style;
    mutable QHash<int, Currency> sums;
};

// One listed row: a group row (group >= 0) or the data row at an order position.
struct GridModel::Entry
{
    int group = -1;
    int position = -1;
};

struct GridModel::Data
{
    std::vector<Column> columns;
    int fieldCount = 0;
    int rows = 0;
    std::vector<std::vector<QVariant>> values;   // [column - 1][bookmark]
    std::vector<int> order;                      // position -> bookmark
    std::vector<int> positionOf;                 // bookmark -> position
    std::vector<int> groupOfPosition;            // innermost group, -1 without groups
    std::vector<Group> groups;
    std::vector<int> topGroups;
    std::vector<Entry> listed;
    std::vector<int> listedOfPosition;           // position -> listed index, -1 when hidden
    mutable std::unordered_map<int, std::vector<std::int64_t>> keys;
    mutable std::vector<int> styleOfRow;         // index into styleNames, -1 unknown
    mutable QStringList styleNames;
};

namespace {

bool isIntegral(const QVariant &v)
{
    switch (v.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::Bool:
        return true;
    default:
        return false;
    }
}

bool isFloating(const QVariant &v)
{
    return v.typeId() == QMetaType::Double || v.typeId() == QMetaType::Float;
}

bool isCurrency(const QVariant &v)
{
    return v.metaType() == QMetaType::fromType<Currency>();
}

std::int64_t orderedBits(double d)
{
    std::uint64_t bits;
    std::memcpy(&bits, &d, sizeof bits);
    constexpr std::uint64_t sign = std::uint64_t(1) << 63;
    bits = (bits & sign) ? ~bits : (bits | sign);
    return std::int64_t(bits ^ sign);
}

QString plainText(const QVariant &v)
{
    if (isCurrency(v))
        return v.value<Currency>().toPlainText();
    if (v.typeId() == QMetaType::QDate)
        return ShortDateText(v.toDate());
    return v.toString();
}

std::optional<Currency> toCurrency(const QVariant &v)
{
    if (!v.isValid() || v.isNull())
        return Currency();
    if (isCurrency(v))
        return v.value<Currency>();
    if (v.typeId() == QMetaType::Bool)
        return Currency::fromWhole(v.toBool() ? 1 : 0);
    if (isIntegral(v))
        return Currency::fromWhole(v.toLongLong());
    if (isFloating(v))
        return Currency::fromUnits(std::llround(v.toDouble() * Currency::Scale));
    const QString text = v.toString().trimmed();
    if (text.isEmpty())
        return Currency();
    if (auto c = Currency::parse(text))
        return c;
    return Currency::parse(text, QLocale().decimalPoint().at(0));
}

// Currency in the locale's money format, rounded to cents in whole numbers so
// that no amount passes through a double.
QString currencyText(Currency c)
{
    const QLocale loc;
    const qint64 units = c.units();
    const bool negative = units < 0;
    const quint64 magnitude = negative ? quint64(0) - quint64(units) : quint64(units);
    const quint64 cents = (magnitude + 50) / 100;
    const QString number = loc.toString(qulonglong(cents / 100)) + loc.decimalPoint()
        + QStringLiteral("%1").arg(int(cents % 100), 2, 10, QLatin1Char('0'));
    const bool showNegative = negative && cents > 0;
    const double probe = showNegative ? -1234.5 : 1234.5;
    QString pattern = loc.toCurrencyString(probe);
    const QString probeNumber = loc.toString(1234.5, 'f', 2);
    const int at = pattern.indexOf(probeNumber);
    if (at < 0)
        return loc.toCurrencyString(c.toDouble());
    return pattern.replace(at, probeNumber.size(), number);
}

bool valuesEqual(const QVariant &cell, const QVariant &needle)
{
    const bool cellNull = !cell.isValid() || cell.isNull();
    const bool needleNull = !needle.isValid() || needle.isNull();
    if (cellNull || needleNull)
        return cellNull && needleNull;
    const bool cellNumber = isIntegral(cell) || isFloating(cell) || isCurrency(cell);
    const bool needleNumber = isIntegral(needle) || isFloating(needle) || isCurrency(needle);
    if (cellNumber && needleNumber) {
        if (isIntegral(cell) && isIntegral(needle))
            return cell.toLongLong() == needle.toLongLong();
        if (isFloating(cell) || isFloating(needle))
            return (isCurrency(cell) ? cell.value<Currency>().toDouble() : cell.toDouble())
                == (isCurrency(needle) ? needle.value<Currency>().toDouble() : needle.toDouble());
        return toCurrency(cell) == toCurrency(needle);
    }
    if (cell.typeId() == QMetaType::QDate && needle.typeId() == QMetaType::QDate)
        return cell.toDate() == needle.toDate();
    return plainText(cell).compare(plainText(needle), Qt::CaseInsensitive) == 0;
}

} // namespace

// ---- GridRow / GridGroup ---------------------------------------------------

QVariant GridRow::field(int column) const
{
    if (!m_model || !m_model->validColumn(column) || m_bookmark < 0 || m_bookmark >= m_model->m_d->rows)
        return {};
    return m_model->rawValue(m_bookmark, column);
}

QVariant GridRow::field(const QString &name) const
{
    return m_model ? field(m_model->columnOfField(name)) : QVariant();
}

int GridGroup::column() const
{
    return m_model->m_d->groups[m_group].column;
}

int GridGroup::level() const
{
    return m_model->m_d->groups[m_group].level;
}

QVariant GridGroup::value() const
{
    return m_model->m_d->groups[m_group].value;
}

int GridGroup::dataRowCount() const
{
    const auto &g = m_model->m_d->groups[m_group];
    return g.last - g.first;
}

GridRow GridGroup::dataRow(int k) const
{
    const auto &g = m_model->m_d->groups[m_group];
    if (k < 0 || k >= g.last - g.first)
        return GridRow(m_model, -1);
    return GridRow(m_model, m_model->m_d->order[g.first + k]);
}

Currency GridGroup::sum(int column) const
{
    const auto &g = m_model->m_d->groups[m_group];
    if (auto it = g.sums.constFind(column); it != g.sums.constEnd())
        return *it;
    // Added in a wider type: a group of very large amounts must not wrap round
    // to a wrong sign; a total beyond the range shows as the range's end.
    __int128 units = 0;
    if (m_model->validColumn(column)) {
        const auto &values = m_model->m_d->values[column - 1];
        for (int p = g.first; p < g.last; ++p)
            units += toCurrency(values[m_model->m_d->order[p]]).value_or(Currency()).units();
    }
    const Currency total = Currency::fromUnits(
        qint64(std::clamp<__int128>(units, std::numeric_limits<qint64>::min(), std::numeric_limits<qint64>::max())));
    g.sums.insert(column, total);
    return total;
}

// ---- GridModel -------------------------------------------------------------

GridModel::GridModel(QObject *parent)
    : QAbstractItemModel(parent), m_d(std::make_unique<Data>())
{
}

GridModel::~GridModel() = default;

void GridModel::setConnectionString(const QString &connectionString)
{
    m_connectionString = connectionString;
}

void GridModel::setRecordSource(const QString &jetSelect)
{
    m_recordSource = jetSelect;
}

void GridModel::requery()
{
    QString sql = m_recordSource.trimmed();
    if (sql.isEmpty())
        return;
    if (!sql.startsWith(QLatin1String("SELECT"), Qt::CaseInsensitive)
        && !sql.startsWith(QLatin1String("TRANSFORM"), Qt::CaseInsensitive))
        sql = QStringLiteral("SELECT * FROM [%1]").arg(sql);

    // Read everything first, so a failing read leaves the list as it was.
    Connection connection;
    connection.open(m_connectionString);
    Recordset rs;
    rs.open(sql, connection, CursorType::ForwardOnly);
    const QStringList names = rs.fieldNames();
    const int count = int(names.size());
    std::vector<std::vector<QVariant>> values(count);
    int rows = 0;
    while (!rs.eof()) {
        for (int i = 0; i < count; ++i)
            values[i].push_back(rs.field(i));
        ++rows;
        rs.moveNext();
    }
    rs.close();
    connection.close();

    beginResetModel();
    resetColumnsForFields(names);
    for (int i = 0; i < count; ++i)
        m_d->values[i] = std::move(values[i]);
    m_d->rows = rows;
    fillComputed();
    rebuild();
    endResetModel();
    setCurrentInternal(m_currentRow > 0 ? std::min(m_currentRow, rowCount()) : (rowCount() > 0 ? 1 : 0), true);
    emit listChanged();
}

void GridModel::setRows(const QStringList &fieldNames, const std::vector<QVariantList> &rows)
{
    beginResetModel();
    resetColumnsForFields(fieldNames);
    const int count = int(fieldNames.size());
    m_d->rows = int(rows.size());
    for (int c = 0; c < count; ++c) {
        auto &column = m_d->values[c];
        column.clear();
        column.reserve(rows.size());
        for (const QVariantList &row : rows)
            column.push_back(c < row.size() ? row.at(c) : QVariant());
    }
    fillComputed();
    rebuild();
    endResetModel();
    setCurrentInternal(m_currentRow > 0 ? std::min(m_currentRow, rowCount()) : (rowCount() > 0 ? 1 : 0), true);
    emit listChanged();
}

void GridModel::appendRow(const QVariantList &row)
{
    beginResetModel();
    for (int c = 0; c < m_d->fieldCount; ++c)
        m_d->values[c].push_back(c < row.size() ? row.at(c) : QVariant());
    ++m_d->rows;
    fillComputed();
    rebuild();
    endResetModel();
    setCurrentInternal(m_currentRow > 0 ? std::min(m_currentRow, rowCount()) : (rowCount() > 0 ? 1 : 0), true);
    emit listChanged();
}

void GridModel::resetColumnsForFields(const QStringList &fieldNames)
{
    auto &cols = m_d->columns;
    bool same = m_d->fieldCount == fieldNames.size();
    for (int i = 0; same && i < fieldNames.size(); ++i)
        same = cols[i].name.compare(fieldNames.at(i), Qt::CaseInsensitive) == 0;
    if (!same) {
        std::vector<Column> computed(cols.begin() + m_d->fieldCount, cols.end());
        std::vector<std::vector<QVariant>> computedValues;
        for (size_t i = m_d->fieldCount; i < m_d->values.size(); ++i)
            computedValues.push_back(std::move(m_d->values[i]));
        cols.clear();
        for (const QString &name : fieldNames) {
            Column c;
            c.name = name;
            c.caption = name;
            cols.push_back(c);
        }
        cols.insert(cols.end(), computed.begin(), computed.end());
        m_d->fieldCount = int(fieldNames.size());
        m_d->values.assign(fieldNames.size(), {});
        for (auto &v : computedValues)
            m_d->values.push_back(std::move(v));
    }
}

void GridModel::setPresenter(GridPresenter *presenter)
{
    m_presenter = presenter;
    refreshComputed();
}

void GridModel::fillComputed()
{
    m_d->keys.clear();
    m_d->styleOfRow.assign(m_d->rows, -1);
    m_d->styleNames.clear();
    for (int c = m_d->fieldCount; c < int(m_d->columns.size()); ++c) {
        auto &values = m_d->values[c];
        values.assign(m_d->rows, QVariant());
        if (!m_presenter)
            continue;
        for (int b = 0; b < m_d->rows; ++b)
            values[b] = m_presenter->computedValue(c + 1, GridRow(this, b));
    }
}

void GridModel::refreshComputed()
{
    beginResetModel();
    fillComputed();
    rebuild();
    endResetModel();
    emit listChanged();
}

void GridModel::refreshPresentation()
{
    m_d->styleOfRow.assign(m_d->rows, -1);
    m_d->styleNames.clear();
    for (auto &g : m_d->groups) {
        g.styleKnown = false;
        if (!g.captionReplaced)
            g.captionKnown = false;
    }
    if (!m_d->listed.empty())
        emit dataChanged(index(0, 0), index(int(m_d->listed.size()) - 1, columnCount() - 1));
}

int GridModel::columnTotal() const
{
    return int(m_d->columns.size());
}

int GridModel::fieldCount() const
{
    return m_d->fieldCount;
}

QString GridModel::fieldName(int column) const
{
    return validColumn(column) ? m_d->columns[column - 1].name : QString();
}

int GridModel::columnOfField(const QString &name) const
{
    for (int i = 0; i < columnTotal(); ++i)
        if (!m_d->columns[i].name.isEmpty() && m_d->columns[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return i + 1;
    return 0;
}

int GridModel::addComputedColumn(const QString &caption)
{
    beginResetModel();
    Column c;
    c.computed = true;
    c.caption = caption;
    m_d->columns.push_back(c);
    m_d->values.emplace_back();
    fillComputed();
    rebuild();
    endResetModel();
    emit columnsChanged();
    return columnTotal();
}

bool GridModel::isComputedColumn(int column) const
{
    return validColumn(column) && m_d->columns[column - 1].computed;
}

#define GRID_COLUMN_SETTER(setter, getter, member, type, refreshCells)                          \
    void GridModel::setter(int column, type v)                                                   \
    {                                                                                            \
        if (!validColumn(column) || m_d->columns[column - 1].member == v)                        \
            return;                                                                              \
        m_d->columns[column - 1].member = v;                                                     \
        emit headerDataChanged(Qt::Horizontal, column - 1, column - 1);                          \
        if (refreshCells && !m_d->listed.empty())                                                \
            emit dataChanged(index(0, column - 1), index(int(m_d->listed.size()) - 1, column - 1)); \
        emit columnsChanged();                                                                   \
    }

GRID_COLUMN_SETTER(setColumnCaption, columnCaption, caption, const QString &, false)
GRID_COLUMN_SETTER(setColumnWidth, columnWidth, width, int, false)
GRID_COLUMN_SETTER(setColumnVisible, isColumnVisible, visible, bool, false)
GRID_COLUMN_SETTER(setColumnFormat, columnFormat, format, const QString &, true)
GRID_COLUMN_SETTER(setColumnEmptyText, columnEmptyText, emptyText, const QString &, true)
GRID_COLUMN_SETTER(setColumnAlignment, columnAlignment, alignment, Qt::Alignment, true)
#undef GRID_COLUMN_SETTER

QString GridModel::columnCaption(int column) const
{
    return validColumn(column) ? m_d->columns[column - 1].caption : QString();
}

int GridModel::columnWidth(int column) const
{
    return validColumn(column) ? m_d->columns[column - 1].width : 0;
}

bool GridModel::isColumnVisible(int column) const
{
    return validColumn(column) && m_d->columns[column - 1].visible;
}

QString GridModel::columnFormat(int column) const
{
    return validColumn(column) ? m_d->columns[column - 1].format : QString();
}

QString GridModel::columnEmptyText(int column) const
{
    return validColumn(column) ? m_d->columns[column - 1].emptyText : QString();
}

Qt::Alignment GridModel::columnAlignment(int column) const
{
    return validColumn(column) ? m_d->columns[column - 1].alignment : Qt::Alignment();
}

// ---- rows ------------------------------------------------------------------

int GridModel::rowCount() const
{
    return int(m_d->listed.size());
}

int GridModel::dataRowCount() const
{
    return m_d->rows;
}

bool GridModel::isGroupRow(int row) const
{
    return row >= 1 && row <= rowCount() && m_d->listed[row - 1].group >= 0;
}

QVariant GridModel::value(int row, int column) const
{
    if (row < 1 || row > rowCount() || !validColumn(column))
        return {};
    const Entry &e = m_d->listed[row - 1];
    if (e.group >= 0) {
        const Group &g = m_d->groups[e.group];
        return g.column == column ? g.value : QVariant();
    }
    return rawValue(m_d->order[e.position], column);
}

QString GridModel::displayText(int row, int column) const
{
    if (row < 1 || row > rowCount() || !validColumn(column))
        return {};
    const Entry &e = m_d->listed[row - 1];
    if (e.group >= 0)
        return m_d->groups[e.group].column == column ? groupCaption(row) : QString();
    return cellText(m_d->order[e.position], column);
}

int GridModel::bookmark(int row) const
{
    if (row < 1 || row > rowCount() || m_d->listed[row - 1].group >= 0)
        return -1;
    return m_d->order[m_d->listed[row - 1].position];
}

int GridModel::rowOfBookmark(int bookmark) const
{
    if (bookmark < 0 || bookmark >= m_d->rows)
        return 0;
    return m_d->listedOfPosition[m_d->positionOf[bookmark]] + 1;
}

GridRow GridModel::dataRow(int row) const
{
    return GridRow(this, bookmark(row));
}

QVariant GridModel::rawValue(int bookmark, int column) const
{
    return m_d->values[column - 1][bookmark];
}

QString GridModel::cellText(int bookmark, int column) const
{
    const Column &c = m_d->columns[column - 1];
    QString text;
    if (!(m_presenter && m_presenter->displayText(column, GridRow(this, bookmark), text))) {
        text = formatValue(rawValue(bookmark, column), c.format);
        if (text.isEmpty())
            text = c.emptyText;
    }
    return text;
}

int GridModel::cellIcon(int bookmark, int column) const
{
    return m_presenter ? m_presenter->iconIndex(column, GridRow(this, bookmark)) : -1;
}

QString GridModel::dataRowStyle(int bookmark) const
{
    if (!m_presenter)
        return {};
    int &slot = m_d->styleOfRow[bookmark];
    if (slot < 0) {
        const QString name = m_presenter->rowStyle(GridRow(this, bookmark));
        slot = int(m_d->styleNames.indexOf(name));
        if (slot < 0) {
            slot = int(m_d->styleNames.size());
            m_d->styleNames.append(name);
        }
    }
    return m_d->styleNames.at(slot);
}

void GridModel::setCurrentRow(int row)
{
    setCurrentInternal(row, false);
}

void GridModel::setCurrentInternal(int row, bool force)
{
    if (row < 1 || row > rowCount())
        row = 0;
    if (row == m_currentRow && !force)
        return;
    const bool changed = row != m_currentRow;
    m_currentRow = row;
    if (changed || force)
        emit currentRowChanged(row);
}

// ---- sorting and grouping --------------------------------------------------

// One comparable number per row for a column: integers, dates and money as
// themselves, doubles by their ordered bit pattern, texts by collation rank.
// Null sorts first; a Null text ranks with the empty text.
const std::vector<std::int64_t> &GridModel::sortKeyOf(int column) const
{
    auto found = m_d->keys.find(column);
    if (found != m_d->keys.end())
        return found->second;

    const auto &values = m_d->values[column - 1];
    const int n = m_d->rows;
    std::vector<std::int64_t> keys(n, std::numeric_limits<std::int64_t>::min());

    bool anyText = false, anyFloat = false;
    for (const QVariant &v : values) {
        if (!v.isValid() || v.isNull())
            continue;
        if (isFloating(v))
            anyFloat = true;
        else if (!isIntegral(v) && !isCurrency(v) && v.typeId() != QMetaType::QDate
                 && v.typeId() != QMetaType::QDateTime)
            anyText = true;
    }

    if (!anyText) {
        for (int b = 0; b < n; ++b) {
            const QVariant &v = values[b];
            if (!v.isValid() || v.isNull())
                continue;
            if (v.typeId() == QMetaType::QDate)
                keys[b] = anyFloat ? orderedBits(double(v.toDate().toJulianDay())) : v.toDate().toJulianDay();
            else if (v.typeId() == QMetaType::QDateTime)
                keys[b] = anyFloat ? orderedBits(double(v.toDateTime().toMSecsSinceEpoch()))
                                   : v.toDateTime().toMSecsSinceEpoch();
            else if (isCurrency(v))
                keys[b] = anyFloat ? orderedBits(v.value<Currency>().toDouble()) : v.value<Currency>().units();
            else if (anyFloat)
                keys[b] = orderedBits(v.toDouble());
            else
                keys[b] = v.toLongLong();
        }
    } else {
        QHash<QString, int> idOf;
        QStringList uniques;
        std::vector<int> ids(n, -1);
        for (int b = 0; b < n; ++b) {
            const QVariant &v = values[b];
            const QString text = (!v.isValid() || v.isNull()) ? QString() : plainText(v);
            if (text.isEmpty())
                continue;
            auto it = idOf.constFind(text);
            if (it == idOf.constEnd()) {
                it = idOf.insert(text, int(uniques.size()));
                uniques.append(text);
            }
            ids[b] = *it;
        }
        QCollator collator;
        collator.setCaseSensitivity(Qt::CaseInsensitive);
        std::vector<QCollatorSortKey> sortKeys;
        sortKeys.reserve(uniques.size());
        for (const QString &u : std::as_const(uniques))
            sortKeys.push_back(collator.sortKey(u));
        std::vector<int> byCollation(uniques.size());
        std::iota(byCollation.begin(), byCollation.end(), 0);
        std::sort(byCollation.begin(), byCollation.end(), [&](int a, int b) {
            const int c = sortKeys[a].compare(sortKeys[b]);
            if (c != 0)
                return c < 0;
            return uniques.at(a) < uniques.at(b);
        });
        std::vector<std::int64_t> rank(uniques.size());
        for (size_t r = 0; r < byCollation.size(); ++r)
            rank[byCollation[r]] = std::int64_t(r);
        for (int b = 0; b < n; ++b)
            keys[b] = ids[b] < 0 ? -1 : rank[ids[b]];
    }
    return m_d->keys.emplace(column, std::move(keys)).first->second;
}

void GridModel::rebuild()
{
    Data &d = *m_d;
    const int n = d.rows;

    // Expanded state survives resorting and re-reading while the groups stay.
    QSet<QString> collapsed;
    {
        std::function<void(int, const QString &)> walk = [&](int gi, const QString &path) {
            const Group &g = d.groups[gi];
            const QString here = path + QChar(0x1f) + QString::number(g.level) + plainText(g.value);
            if (!g.expanded)
                collapsed.insert(here);
            for (int c : g.children)
                walk(c, here);
        };
        for (int t : d.topGroups)
            walk(t, QString());
    }

    struct Key { const std::int64_t *keys; bool ascending; };
    std::vector<Key> cmp;
    for (const GridSortKey &k : std::as_const(m_groupKeys))
        if (validColumn(k.column))
            cmp.push_back({sortKeyOf(k.column).data(), k.ascending});
    for (const GridSortKey &k : std::as_const(m_sortKeys))
        if (validColumn(k.column))
            cmp.push_back({sortKeyOf(k.column).data(), k.ascending});

    d.order.resize(n);
    std::iota(d.order.begin(), d.order.end(), 0);
    if (!cmp.empty()) {
        std::sort(d.order.begin(), d.order.end(), [&cmp](int a, int b) {
            for (const Key &k : cmp) {
                const std::int64_t ka = k.keys[a], kb = k.keys[b];
                if (ka != kb)
                    return k.ascending ? ka < kb : ka > kb;
            }
            return a < b;
        });
    }
    d.positionOf.assign(n, 0);
    for (int p = 0; p < n; ++p)
        d.positionOf[d.order[p]] = p;

    d.groups.clear();
    d.topGroups.clear();
    d.groupOfPosition.assign(n, -1);
    std::vector<int> levels;
    for (const GridSortKey &k : std::as_const(m_groupKeys))
        if (validColumn(k.column))
            levels.push_back(k.column);

    std::function<void(int, int, int, int, const QString &)> split =
        [&](int level, int first, int last, int parent, const QString &path) {
            if (level >= int(levels.size()))
                return;
            const int column = levels[level];
            const std::int64_t *keys = sortKeyOf(column).data();
            int start = first;
            while (start < last) {
                int end = start + 1;
                const std::int64_t key = keys[d.order[start]];
                while (end < last && keys[d.order[end]] == key)
                    ++end;
                Group g;
                g.column = column;
                g.level = level + 1;
                g.value = rawValue(d.order[start], column);
                g.first = start;
                g.last = end;
                g.parent = parent;
                const QString here = path + QChar(0x1f) + QString::number(g.level) + plainText(g.value);
                g.expanded = !collapsed.contains(here);
                const int gi = int(d.groups.size());
                d.groups.push_back(std::move(g));
                if (parent >= 0)
                    d.groups[parent].children.push_back(gi);
                else
                    d.topGroups.push_back(gi);
                for (int p = start; p < end; ++p)
                    d.groupOfPosition[p] = gi;
                split(level + 1, start, end, gi, here);
                start = end;
            }
        };
    split(0, 0, n, -1, QString());
    relist();
}

void GridModel::appendListed(int gi)
{
    Data &d = *m_d;
    d.listed.push_back({gi, -1});
    const Group &g = d.groups[gi];
    if (!g.expanded)
        return;
    if (g.children.empty()) {
        for (int p = g.first; p < g.last; ++p)
            d.listed.push_back({-1, p});
    } else {
        for (int c : g.children)
            appendListed(c);
    }
}

void GridModel::relist()
{
    Data &d = *m_d;
    d.listed.clear();
    if (d.topGroups.empty()) {
        d.listed.reserve(d.rows);
        for (int p = 0; p < d.rows; ++p)
            d.listed.push_back({-1, p});
    } else {
        for (int t : d.topGroups)
            appendListed(t);
    }
    d.listedOfPosition.assign(d.rows, -1);
    for (int i = 0; i < int(d.listed.size()); ++i)
        if (d.listed[i].group < 0)
            d.listedOfPosition[d.listed[i].position] = i;
}

int GridModel::dataDepth() const
{
    return int(m_d->topGroups.empty() ? 0 : m_groupKeys.size());
}

int GridModel::listedIndexOfData(int position) const
{
    return m_d->listedOfPosition[position];
}

QString GridModel::groupPath(int group) const
{
    QString path;
    for (int gi = group; gi >= 0; gi = m_d->groups[gi].parent)
        path.prepend(QChar(0x1f) + QString::number(m_d->groups[gi].level) + plainText(m_d->groups[gi].value));
    return path;
}

bool GridModel::isInsideGroup(int row, int group) const
{
    if (row < 1 || row > rowCount())
        return false;
    const Entry &e = m_d->listed[row - 1];
    int gi = e.group >= 0 ? m_d->groups[e.group].parent : m_d->groupOfPosition.empty() ? -1 : m_d->groupOfPosition[e.position];
    for (; gi >= 0; gi = m_d->groups[gi].parent)
        if (gi == group)
            return true;
    return false;
}

// What the current row is, in terms that survive regrouping and resorting: the
// same data row, or the same group (by its path of values), or else the index.
GridModel::CurrentAnchor GridModel::currentAnchor() const
{
    CurrentAnchor anchor;
    anchor.index = m_currentRow;
    anchor.bookmark = bookmark(m_currentRow);
    if (isGroupRow(m_currentRow))
        anchor.groupPath = groupPath(m_d->listed[m_currentRow - 1].group);
    return anchor;
}

void GridModel::restoreCurrent(const CurrentAnchor &anchor)
{
    int target = 0;
    if (anchor.bookmark >= 0 && anchor.bookmark < m_d->rows) {
        target = rowOfBookmark(anchor.bookmark);
    } else if (!anchor.groupPath.isEmpty()) {
        for (int i = 0; i < rowCount() && target == 0; ++i)
            if (m_d->listed[i].group >= 0 && groupPath(m_d->listed[i].group) == anchor.groupPath)
                target = i + 1;
    }
    if (target == 0 && anchor.index > 0)
        target = std::min(anchor.index, rowCount());
    setCurrentInternal(target, target != anchor.index);
}

void GridModel::clearGroups()
{
    if (m_groupKeys.isEmpty())
        return;
    const CurrentAnchor anchor = currentAnchor();
    beginResetModel();
    m_groupKeys.clear();
    m_d->groups.clear();
    m_d->topGroups.clear();
    rebuild();
    endResetModel();
    restoreCurrent(anchor);
    emit listChanged();
}

void GridModel::addGroup(int column, bool ascending)
{
    // Columns that do not exist yet are kept and take effect once rows arrive.
    if (column < 1)
        return;
    const CurrentAnchor anchor = currentAnchor();
    beginResetModel();
    m_groupKeys.append({column, ascending});
    // A new level starts fully expanded.
    for (auto &g : m_d->groups)
        g.expanded = true;
    rebuild();
    endResetModel();
    restoreCurrent(anchor);
    emit listChanged();
}

void GridModel::clearSortKeys()
{
    setSortKeys({});
}

void GridModel::addSortKey(int column, bool ascending)
{
    if (column < 1)
        return;
    QList<GridSortKey> keys = m_sortKeys;
    keys.append({column, ascending});
    setSortKeys(keys);
}

void GridModel::setSortKeys(const QList<GridSortKey> &keys)
{
    if (keys == m_sortKeys)
        return;
    const CurrentAnchor anchor = currentAnchor();
    beginResetModel();
    m_sortKeys = keys;
    rebuild();
    endResetModel();
    restoreCurrent(anchor);
    emit sortKeysChanged();
    emit listChanged();
}

void GridModel::sortByHeader(int column)
{
    if (!validColumn(column) || (m_presenter && !m_presenter->isSortable(column)))
        return;
    QList<GridSortKey> keys = m_sortKeys;
    if (!keys.isEmpty() && keys.first().column == column) {
        keys.first().ascending = !keys.first().ascending;
    } else {
        keys.removeIf([column](const GridSortKey &k) { return k.column == column; });
        keys.prepend({column, true});
    }
    setSortKeys(keys);
}

bool GridModel::isExpanded(int row) const
{
    return isGroupRow(row) && m_d->groups[m_d->listed[row - 1].group].expanded;
}

void GridModel::setExpanded(int row, bool expanded)
{
    if (!isGroupRow(row))
        return;
    const int gi = m_d->listed[row - 1].group;
    Group &g = m_d->groups[gi];
    if (g.expanded == expanded)
        return;
    const int oldCount = rowCount();
    const bool currentInside = !expanded && isInsideGroup(m_currentRow, gi);
    const int anchorBookmark = bookmark(m_currentRow);
    const int oldCurrent = m_currentRow;

    g.expanded = expanded;
    std::vector<Entry> before;
    before.swap(m_d->listed);
    relist();
    const int newCount = rowCount();
    std::vector<Entry> after;
    after.swap(m_d->listed);
    m_d->listed.swap(before);
    if (newCount > oldCount) {
        beginInsertRows(QModelIndex(), row, row + newCount - oldCount - 1);
        m_d->listed.swap(after);
        endInsertRows();
    } else if (newCount < oldCount) {
        beginRemoveRows(QModelIndex(), row, row + oldCount - newCount - 1);
        m_d->listed.swap(after);
        endRemoveRows();
    } else {
        m_d->listed.swap(after);
    }
    relist();   // refreshes listedOfPosition
    emit dataChanged(index(row - 1, 0), index(row - 1, columnCount() - 1), {ExpandedRole});

    if (currentInside)
        setCurrentInternal(row, true);
    else if (oldCurrent > row)
        setCurrentInternal(anchorBookmark >= 0 ? rowOfBookmark(anchorBookmark)
                                               : oldCurrent + (newCount - oldCount), true);
    emit listChanged();
}

void GridModel::expandAll()
{
    const CurrentAnchor anchor = currentAnchor();
    beginResetModel();
    for (auto &g : m_d->groups)
        g.expanded = true;
    relist();
    endResetModel();
    restoreCurrent(anchor);
    emit listChanged();
}

void GridModel::collapseAll()
{
    // The current row passes to its outermost group, the only kind left listed.
    CurrentAnchor anchor = currentAnchor();
    if (anchor.index > 0 && !m_d->topGroups.empty()) {
        const Entry &e = m_d->listed[anchor.index - 1];
        int gi = e.group >= 0 ? e.group : m_d->groupOfPosition[e.position];
        while (m_d->groups[gi].parent >= 0)
            gi = m_d->groups[gi].parent;
        anchor.bookmark = -1;
        anchor.groupPath = groupPath(gi);
    }
    beginResetModel();
    for (auto &g : m_d->groups)
        g.expanded = false;
    relist();
    endResetModel();
    restoreCurrent(anchor);
    emit listChanged();
}

void GridModel::expandAncestorsOf(int position)
{
    if (m_d->groupOfPosition.empty())
        return;
    bool changed = false;
    for (int gi = m_d->groupOfPosition[position]; gi >= 0; gi = m_d->groups[gi].parent) {
        if (!m_d->groups[gi].expanded) {
            m_d->groups[gi].expanded = true;
            changed = true;
        }
    }
    if (!changed)
        return;
    beginResetModel();
    relist();
    endResetModel();
    emit listChanged();
}

QString GridModel::groupCaption(int row) const
{
    if (!isGroupRow(row))
        return {};
    const int gi = m_d->listed[row - 1].group;
    const Group &g = m_d->groups[gi];
    if (!g.captionKnown) {
        const QString byDefault = formatValue(g.value, m_d->columns[g.column - 1].format);
        g.caption = m_presenter ? m_presenter->groupCaption(GridGroup(this, gi), byDefault) : byDefault;
        g.captionKnown = true;
    }
    return g.caption;
}

void GridModel::setGroupCaption(int row, const QString &caption)
{
    if (!isGroupRow(row))
        return;
    Group &g = m_d->groups[m_d->listed[row - 1].group];
    g.caption = caption;
    g.captionKnown = true;
    g.captionReplaced = true;
    emit dataChanged(index(row - 1, 0), index(row - 1, columnCount() - 1));
}

int GridModel::groupLevel(int row) const
{
    return isGroupRow(row) ? m_d->groups[m_d->listed[row - 1].group].level : 0;
}

int GridModel::groupColumn(int row) const
{
    return isGroupRow(row) ? m_d->groups[m_d->listed[row - 1].group].column : 0;
}

Currency GridModel::groupSum(int row, int column) const
{
    return isGroupRow(row) ? GridGroup(this, m_d->listed[row - 1].group).sum(column) : Currency();
}

GridGroup GridModel::group(int row) const
{
    return GridGroup(this, isGroupRow(row) ? m_d->listed[row - 1].group : -1);
}

// ---- search ----------------------------------------------------------------

int GridModel::find(int column, const QVariant &needle, FindMode mode, int fromRow, int direction)
{
    const int n = m_d->rows;
    if (n == 0 || !validColumn(column))
        return 0;
    const int step = direction < 0 ? -1 : 1;
    if (fromRow == -1)
        fromRow = m_currentRow;

    int start = step > 0 ? -1 : n;
    if (fromRow >= 1 && fromRow <= rowCount()) {
        const Entry &e = m_d->listed[fromRow - 1];
        if (e.group < 0)
            start = e.position;
        else
            start = step > 0 ? m_d->groups[e.group].first - 1 : m_d->groups[e.group].first;
    }

    const auto &values = m_d->values[column - 1];
    const QString text = plainText(needle);
    if (mode == FindMode::Contains && text.isEmpty())
        return 0;
    for (int i = 1; i <= n; ++i) {
        const int p = ((start + step * i) % n + n) % n;
        const QVariant &cell = values[m_d->order[p]];
        const bool hit = mode == FindMode::Equal
            ? valuesEqual(cell, needle)
            : (cell.isValid() && plainText(cell).contains(text, Qt::CaseInsensitive));
        if (hit) {
            expandAncestorsOf(p);
            const int row = listedIndexOfData(p) + 1;
            setCurrentRow(row);
            return row;
        }
    }
    return 0;
}

// ---- navigator and printing ------------------------------------------------

void GridModel::setNavigatorTemplate(const QString &text)
{
    m_navigatorTemplate = text;
    emit listChanged();
}

QString GridModel::navigatorText() const
{
    const QString current = QString::number(std::max(m_currentRow, 0));
    const QString total = QString::number(rowCount());
    const int bar = int(m_navigatorTemplate.indexOf(QLatin1Char('|')));
    if (bar < 0) {
        if (m_navigatorTemplate.isEmpty())
            return current + QLatin1String(" / ") + total;
        return m_navigatorTemplate + QLatin1Char(' ') + current + QLatin1Char(' ') + total;
    }
    return m_navigatorTemplate.left(bar).trimmed() + QLatin1Char(' ') + current + QLatin1Char(' ')
        + m_navigatorTemplate.mid(bar + 1).trimmed() + QLatin1Char(' ') + total;
}

GridListedRow GridModel::listedRow(int row) const
{
    GridListedRow out;
    if (row < 1 || row > rowCount())
        return out;
    const Entry &e = m_d->listed[row - 1];
    if (e.group >= 0) {
        const Group &g = m_d->groups[e.group];
        out.isGroup = true;
        out.level = g.level;
        out.expanded = g.expanded;
        out.caption = groupCaption(row);
        out.style = data(index(row - 1, 0), StyleRole).toString();
        return out;
    }
    const int b = m_d->order[e.position];
    out.level = dataDepth();
    out.style = dataRowStyle(b);
    for (int c = 1; c <= columnTotal(); ++c) {
        out.texts.append(cellText(b, c));
        out.icons.append(cellIcon(b, c));
    }
    return out;
}

QString GridModel::formatValue(const QVariant &value, const QString &format)
{
    if (!value.isValid() || value.isNull())
        return {};
    const QLocale loc;
    const bool isDate = value.typeId() == QMetaType::QDate || value.typeId() == QMetaType::QDateTime;
    if (format.compare(QLatin1String("Currency"), Qt::CaseInsensitive) == 0) {
        if (const auto c = toCurrency(value); c && (isCurrency(value) || isIntegral(value) || isFloating(value)
                                                    || !value.toString().trimmed().isEmpty()))
            return currencyText(*c);
        return value.toString();
    }
    if (isDate) {
        const QDate date = value.toDate();
        if (format.isEmpty() || format.compare(QLatin1String("Short Date"), Qt::CaseInsensitive) == 0)
            return ShortDateText(date, loc);
        if (format.compare(QLatin1String("Long Date"), Qt::CaseInsensitive) == 0)
            return loc.toString(date, QLocale::LongFormat);
        return loc.toString(date, format);
    }
    if (isCurrency(value)) {
        QString text = value.value<Currency>().toPlainText();
        return text.replace(QLatin1Char('.'), loc.decimalPoint());
    }
    if (isFloating(value))
        return loc.toString(value.toDouble(), 'g', 15);
    if (value.typeId() == QMetaType::Bool)
        return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    return value.toString();
}

// ---- QAbstractItemModel ----------------------------------------------------

QModelIndex GridModel::index(int row, int column, const QModelIndex &parent) const
{
    if (parent.isValid() || row < 0 || column < 0 || row >= rowCount() || column >= columnTotal())
        return {};
    return createIndex(row, column);
}

QModelIndex GridModel::parent(const QModelIndex &) const
{
    return {};
}

int GridModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : rowCount();
}

int GridModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : columnTotal();
}

QVariant GridModel::data(const QModelIndex &idx, int role) const
{
    if (!idx.isValid() || idx.row() >= rowCount() || idx.column() >= columnTotal())
        return {};
    const Entry &e = m_d->listed[idx.row()];
    const int column = idx.column() + 1;
    if (e.group >= 0) {
        const Group &g = m_d->groups[e.group];
        switch (role) {
        case Qt::DisplayRole:
            return idx.column() == 0 ? QVariant(groupCaption(idx.row() + 1)) : QVariant();
        case CaptionRole:
            return groupCaption(idx.row() + 1);
        case IsGroupRole:
            return true;
        case LevelRole:
            return g.level;
        case ExpandedRole:
            return g.expanded;
        case ValueRole:
            return g.column == column ? g.value : QVariant();
        case IconIndexRole:
            return -1;
        case StyleRole:
            if (!g.styleKnown) {
                g.style = m_presenter ? m_presenter->groupRowStyle(GridGroup(this, e.group))
                                      : QStringLiteral("RowGroup");
                g.styleKnown = true;
            }
            return g.style;
        default:
            return {};
        }
    }
    const int b = m_d->order[e.position];
    switch (role) {
    case Qt::DisplayRole:
        return cellText(b, column);
    case IconIndexRole:
        return cellIcon(b, column);
    case StyleRole:
        return dataRowStyle(b);
    case ValueRole:
        return rawValue(b, column);
    case IsGroupRole:
        return false;
    case LevelRole:
        return dataDepth();
    case Qt::TextAlignmentRole: {
        Qt::Alignment a = m_d->columns[column - 1].alignment;
        if (!a) {
            const QVariant &v = m_d->values[column - 1][b];
            a = (isIntegral(v) || isFloating(v) || isCurrency(v)) && v.typeId() != QMetaType::Bool
                ? Qt::AlignRight : Qt::AlignLeft;
        }
        return QVariant::fromValue(a | Qt::AlignVCenter);
    }
    default:
        return {};
    }
}

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Vertical)
        return role == Qt::DisplayRole ? QVariant(section + 1) : QVariant();
    if (section < 0 || section >= columnTotal())
        return {};
    const Column &c = m_d->columns[section];
    switch (role) {
    case Qt::DisplayRole:
        return c.caption;
    case Qt::TextAlignmentRole:
        return c.alignment ? QVariant::fromValue(c.alignment | Qt::AlignVCenter) : QVariant();
    default:
        return {};
    }
}

Qt::ItemFlags GridModel::flags(const QModelIndex &idx) const
{
    if (!idx.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

QHash<int, QByteArray> GridModel::roleNames() const
{
    QHash<int, QByteArray> names = QAbstractItemModel::roleNames();
    names.insert(IsGroupRole, "isGroup");
    names.insert(IconIndexRole, "iconIndex");
    names.insert(StyleRole, "rowStyle");
    names.insert(LevelRole, "level");
    names.insert(ExpandedRole, "expanded");
    names.insert(ValueRole, "value");
    names.insert(CaptionRole, "caption");
    return names;
}
