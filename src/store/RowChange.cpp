#include "store/RowChange.h"

#include "store/Connection.h"
#include "store/DbError.h"
#include "store/RowReader.h"
#include "store/Statements.h"
#include "store/TransactionGuard.h"

#include <QDate>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

#include <sqlite3.h>

#include <memory>
#include <unordered_map>

namespace {

struct TableStatements
{
    const char *read;
    const char *insert;
    const char *remove;
};

constexpr std::array<TableStatements, 3> Statements = {{
    {"undo-deadline-read", "undo-deadline-insert", "undo-deadline-delete"},
    {"undo-counterparty-read", "undo-counterparty-insert", "undo-counterparty-delete"},
    {"undo-sheet-read", "undo-sheet-insert", "undo-sheet-delete"},
}};

// One named statement prepared on the connection's SQLite handle, so that a
// change of 10,000 rows binds and steps without going through the SQL module's
// records, which would also blur a real apart from an integer. On a server
// register it goes through the SQL module, whose columns are typed already.
class Prepared
{
public:
    Prepared(Connection &connection, const char *name)
        : m_db(connection.isServer() ? nullptr : sqliteHandle(connection))
        , m_sql(storeStatement(connection.database().driverName(), name).toUtf8())
    {
        if (!m_db) {
            m_query = std::make_unique<QSqlQuery>(connection.database());
            m_query->setForwardOnly(true);
            if (!m_query->prepare(QString::fromUtf8(m_sql)))
                throw DbError::fromEngine(m_query->lastError(), QString::fromUtf8(m_sql));
            return;
        }
        if (sqlite3_prepare_v2(m_db, m_sql.constData(), int(m_sql.size()), &m_statement, nullptr) != SQLITE_OK
            || !m_statement)
            throw error();
    }
    ~Prepared() { sqlite3_finalize(m_statement); }
    Prepared(const Prepared &) = delete;
    Prepared &operator=(const Prepared &) = delete;

    void reset()
    {
        if (m_query) {
            m_query->finish();
            m_executed = false;
            return;
        }
        sqlite3_reset(m_statement);
        sqlite3_clear_bindings(m_statement);
    }
    void bind(int index, const StoredValue &value)
    {
        if (m_query) {
            m_query->bindValue(index - 1, serverValue(value));
            return;
        }
        int rc = SQLITE_OK;
        if (const auto *i = std::get_if<qint64>(&value))
            rc = sqlite3_bind_int64(m_statement, index, *i);
        else if (const auto *d = std::get_if<double>(&value))
            rc = sqlite3_bind_double(m_statement, index, *d);
        else if (const auto *t = std::get_if<QByteArray>(&value))
            rc = sqlite3_bind_text64(m_statement, index, t->constData(), sqlite3_uint64(t->size()), SQLITE_TRANSIENT,
                                     SQLITE_UTF8);
        else if (const auto *b = std::get_if<StoredBlob>(&value))
            rc = sqlite3_bind_blob64(m_statement, index, b->bytes.constData(), sqlite3_uint64(b->bytes.size()),
                                     SQLITE_TRANSIENT);
        else
            rc = sqlite3_bind_null(m_statement, index);
        if (rc != SQLITE_OK)
            throw error();
    }
    void bind(const char *placeholder, const QVariant &value)
    {
        if (m_query) {
            m_query->bindValue(u':' + QLatin1StringView(placeholder), serverBindable(value));
            return;
        }
        const int index = sqlite3_bind_parameter_index(m_statement, (QByteArray(":") + placeholder).constData());
        if (index == 0)
            return;
        switch (value.isNull() ? QMetaType::UnknownType : value.typeId()) {
        case QMetaType::UnknownType:
            bind(index, StoredValue());
            return;
        case QMetaType::Bool:
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
            bind(index, StoredValue(qint64(value.toLongLong())));
            return;
        case QMetaType::Double:
            bind(index, StoredValue(value.toDouble()));
            return;
        case QMetaType::QDate:
            bind(index, StoredValue(value.toDate().toString(Qt::ISODate).toUtf8()));
            return;
        default:
            bind(index, StoredValue(value.toString().toUtf8()));
            return;
        }
    }
    // True on a row, false at the end (or when a write is done).
    bool step()
    {
        if (m_query) {
            if (!m_executed && !m_query->exec())
                throw DbError::fromEngine(m_query->lastError(), QString::fromUtf8(m_sql));
            m_executed = true;
            return m_query->isSelect() && m_query->next();
        }
        const int rc = sqlite3_step(m_statement);
        if (rc == SQLITE_ROW)
            return true;
        if (rc == SQLITE_DONE)
            return false;
        throw error();
    }
    StoredRow row() const
    {
        StoredRow row;
        if (m_query) {
            const int count = m_query->record().count();
            for (int column = 0; column < count; ++column)
                row.values.push_back(storedValue(m_query->value(column)));
            return row;
        }
        const int count = sqlite3_column_count(m_statement);
        row.values.reserve(size_t(count));
        for (int column = 0; column < count; ++column) {
            switch (sqlite3_column_type(m_statement, column)) {
            case SQLITE_INTEGER:
                row.values.emplace_back(qint64(sqlite3_column_int64(m_statement, column)));
                break;
            case SQLITE_FLOAT:
                row.values.emplace_back(sqlite3_column_double(m_statement, column));
                break;
            case SQLITE_TEXT: {
                const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(m_statement, column));
                row.values.emplace_back(QByteArray(text, sqlite3_column_bytes(m_statement, column)));
                break;
            }
            case SQLITE_BLOB: {
                const auto *bytes = static_cast<const char *>(sqlite3_column_blob(m_statement, column));
                row.values.emplace_back(StoredBlob{QByteArray(bytes, sqlite3_column_bytes(m_statement, column))});
                break;
            }
            default:
                row.values.emplace_back(std::monostate());
                break;
            }
        }
        return row;
    }

private:
    // A server's typed value as a file stores it: integers, ISO dates, UTF-8 texts.
    static StoredValue storedValue(const QVariant &value)
    {
        if (value.isNull())
            return std::monostate();
        switch (value.typeId()) {
        case QMetaType::Bool:
        case QMetaType::Short:
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
            return qint64(value.toLongLong());
        case QMetaType::Double:
            return value.toDouble();
        case QMetaType::QDate:
            return value.toDate().toString(Qt::ISODate).toUtf8();
        case QMetaType::QByteArray:
            return StoredBlob{value.toByteArray()};
        default:
            return value.toString().toUtf8();
        }
    }
    static QVariant serverValue(const StoredValue &value)
    {
        if (const auto *i = std::get_if<qint64>(&value))
            return qlonglong(*i);
        if (const auto *d = std::get_if<double>(&value))
            return *d;
        if (const auto *t = std::get_if<QByteArray>(&value))
            return QString::fromUtf8(*t);
        if (const auto *b = std::get_if<StoredBlob>(&value))
            return b->bytes;
        return {};
    }

    DbError error() const
    {
        const int code = sqlite3_extended_errcode(m_db) & 0xff;
        if (code == SQLITE_BUSY || code == SQLITE_LOCKED)
            return DbError(DbError::Busy, QString::fromUtf8(sqlite3_errmsg(m_db)));
        return DbError(code, QString::fromUtf8(sqlite3_errmsg(m_db)) + QStringLiteral(" (")
                                 + QString::fromUtf8(m_sql) + u')');
    }

    sqlite3 *m_db;
    QByteArray m_sql;
    sqlite3_stmt *m_statement = nullptr;
    std::unique_ptr<QSqlQuery> m_query;
    bool m_executed = false;
};

// The row with that id as it is now; nothing when there is none.
std::optional<StoredRow> readRow(Prepared &read, qint64 id)
{
    read.reset();
    read.bind(1, StoredValue(id));
    if (!read.step())
        return std::nullopt;
    return read.row();
}

void readRows(Prepared &read, const QList<qint64> &ids, std::vector<StoredRow> &into)
{
    into.reserve(into.size() + size_t(ids.size()));
    for (qint64 id : ids) {
        if (auto row = readRow(read, id))
            into.push_back(std::move(*row));
    }
}

} // namespace

qint64 StoredRow::integer(int column) const
{
    const auto *value = column < int(values.size()) ? std::get_if<qint64>(&values[size_t(column)]) : nullptr;
    return value ? *value : 0;
}

QString StoredRow::text(int column) const
{
    const auto *value = column < int(values.size()) ? std::get_if<QByteArray>(&values[size_t(column)]) : nullptr;
    return value ? QString::fromUtf8(*value) : QString();
}

void RowChange::readBefore(Connection &connection, StoredTable table, const QList<qint64> &ids)
{
    Prepared read(connection, Statements[size_t(index(table))].read);
    readRows(read, ids, m_tables[index(table)].before);
}

void RowChange::readBeforeWhere(Connection &connection, StoredTable table, const char *statementName,
                                StatementValues values)
{
    Prepared select(connection, statementName);
    for (const auto &[placeholder, value] : values)
        select.bind(placeholder, value);
    std::vector<StoredRow> &before = m_tables[index(table)].before;
    while (select.step())
        before.push_back(select.row());
}

void RowChange::readAfter(Connection &connection, const QList<qint64> &newDeadlines,
                          const QList<qint64> &newCounterparties, const QList<qint64> &newSheets)
{
    const std::array<const QList<qint64> *, 3> added = {&newDeadlines, &newCounterparties, &newSheets};
    for (size_t t = 0; t < m_tables.size(); ++t) {
        TableRows &rows = m_tables[t];
        if (rows.before.empty() && added[t]->isEmpty())
            continue;
        QList<qint64> ids;
        ids.reserve(qsizetype(rows.before.size()) + added[t]->size());
        QSet<qint64> seen;
        for (const StoredRow &row : rows.before) {
            ids.append(row.id());
            seen.insert(row.id());
        }
        for (qint64 id : *added[t]) {
            if (!seen.contains(id))
                ids.append(id);
        }
        rows.after.clear();
        Prepared read(connection, Statements[t].read);
        readRows(read, ids, rows.after);
    }
}

bool RowChange::isEmpty() const
{
    for (const TableRows &rows : m_tables) {
        if (rows.before != rows.after)
            return false;
    }
    return true;
}

QList<qint64> RowChange::removedIds(StoredTable table, Direction direction) const
{
    const TableRows &rows = m_tables[index(table)];
    const std::vector<StoredRow> &leaving = direction == Direction::Undo ? rows.after : rows.before;
    const std::vector<StoredRow> &restoring = direction == Direction::Undo ? rows.before : rows.after;
    QSet<qint64> kept;
    for (const StoredRow &row : restoring)
        kept.insert(row.id());
    QList<qint64> removed;
    for (const StoredRow &row : leaving) {
        if (!kept.contains(row.id()))
            removed.append(row.id());
    }
    return removed;
}

QHash<qint32, QList<qint32>> RowChange::deadlinesBySheet() const
{
    QHash<qint32, QList<qint32>> sheets;
    QHash<qint32, QSet<qint32>> seen;
    const TableRows &rows = m_tables[index(StoredTable::Deadlines)];
    for (const auto *side : {&rows.before, &rows.after}) {
        for (const StoredRow &row : *side) {
            const auto sheet = qint32(row.integer(TrDbId));
            const auto id = qint32(row.id());
            if (!seen[sheet].contains(id)) {
                seen[sheet].insert(id);
                sheets[sheet].append(id);
            }
        }
    }
    return sheets;
}

RowChange::Outcome RowChange::apply(Connection &connection, Direction direction) const
{
    return retriedWrite(connection, [&] {
        TransactionGuard transaction(connection);
        const auto leaving = [direction](const TableRows &rows) -> const std::vector<StoredRow> & {
            return direction == Direction::Undo ? rows.after : rows.before;
        };
        const auto restoring = [direction](const TableRows &rows) -> const std::vector<StoredRow> & {
            return direction == Direction::Undo ? rows.before : rows.after;
        };
        // Every row the step touches must be as the side being left says: a row
        // changed, deleted or added meanwhile makes the step refuse rather than overwrite.
        for (size_t t = 0; t < m_tables.size(); ++t) {
            const TableRows &rows = m_tables[t];
            if (rows.before.empty() && rows.after.empty())
                continue;
            Prepared read(connection, Statements[t].read);
            QSet<qint64> left;
            for (const StoredRow &row : leaving(rows)) {
                left.insert(row.id());
                if (readRow(read, row.id()) != row)
                    return Outcome::Changed;
            }
            for (const StoredRow &row : restoring(rows)) {
                if (!left.contains(row.id()) && readRow(read, row.id()))
                    return Outcome::Changed;
            }
        }
        for (size_t t = 0; t < m_tables.size(); ++t) {
            const TableRows &rows = m_tables[t];
            if (leaving(rows).empty() && restoring(rows).empty())
                continue;
            if (!leaving(rows).empty()) {
                Prepared remove(connection, Statements[t].remove);
                for (const StoredRow &row : leaving(rows)) {
                    remove.reset();
                    remove.bind(1, StoredValue(row.id()));
                    remove.step();
                }
            }
            if (!restoring(rows).empty()) {
                Prepared insert(connection, Statements[t].insert);
                for (const StoredRow &row : restoring(rows)) {
                    insert.reset();
                    for (size_t column = 0; column < row.values.size(); ++column)
                        insert.bind(int(column) + 1, row.values[column]);
                    insert.step();
                }
            }
        }
        transaction.commit();
        return Outcome::Done;
    });
}
