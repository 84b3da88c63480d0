#include "store/RowReader.h"

#include "store/Connection.h"
#include "store/DbError.h"

#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>

#include <sqlite3.h>

#include <cmath>
#include <string>
#include <string_view>
#include <unordered_map>

sqlite3 *sqliteHandle(Connection &connection)
{
    const QVariant handle = connection.database().driver()->handle();
    if (qstrcmp(handle.typeName(), "sqlite3*") != 0)
        throw DbError(-1, QStringLiteral("The database connection has no SQLite handle."));
    return *static_cast<sqlite3 *const *>(handle.constData());
}

namespace {

// The engine's error as the store reports every other: its code and text.
DbError statementError(sqlite3 *db, const QString &sql)
{
    const int code = sqlite3_extended_errcode(db) & 0xff;
    if (code == SQLITE_BUSY || code == SQLITE_LOCKED)
        return DbError(DbError::Busy, QString::fromUtf8(sqlite3_errmsg(db)));
    return DbError(code, QString::fromUtf8(sqlite3_errmsg(db)) + QStringLiteral(" (") + sql + u')');
}

void bind(sqlite3_stmt *statement, int index, const QVariant &value)
{
    if (!value.isValid() || value.isNull()) {
        sqlite3_bind_null(statement, index);
        return;
    }
    switch (value.typeId()) {
    case QMetaType::Bool:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        sqlite3_bind_int64(statement, index, value.toLongLong());
        return;
    case QMetaType::QDate:
        bind(statement, index, value.toDate().toString(Qt::ISODate));
        return;
    default: {
        const QByteArray text = value.toString().toUtf8();
        sqlite3_bind_text64(statement, index, text.constData(), sqlite3_uint64(text.size()), SQLITE_TRANSIENT,
                            SQLITE_UTF8);
        return;
    }
    }
}

int digits(const unsigned char *text, int count)
{
    int value = 0;
    for (int i = 0; i < count; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return -1;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

} // namespace

struct RowReader::TextPool
{
    struct Hash
    {
        using is_transparent = void;
        size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
    };
    static constexpr size_t Limit = 4096;
    std::unordered_map<std::string, QString, Hash, std::equal_to<>> texts;
    bool full = false;

    QString take(const char *data, int size)
    {
        if (full)
            return QString::fromUtf8(data, size);
        const std::string_view bytes(data, size_t(size));
        if (const auto found = texts.find(bytes); found != texts.end())
            return found->second;
        QString text = QString::fromUtf8(data, size);
        if (texts.size() >= Limit) {
            full = true;
            texts.clear();
        } else {
            texts.emplace(std::string(bytes), text);
        }
        return text;
    }
};

RowReader::RowReader(Connection &connection, const char *statementName)
    : m_sql(storeStatement(connection.database().driverName(), statementName))
{
    if (connection.isServer()) {
        m_query = std::make_unique<QSqlQuery>(connection.database());
        m_query->setForwardOnly(true);
        if (!m_query->prepare(m_sql))
            throw DbError::fromEngine(m_query->lastError(), m_sql);
        return;
    }
    sqlite3 *db = sqliteHandle(connection);
    const QByteArray text = m_sql.toUtf8();
    if (sqlite3_prepare_v2(db, text.constData(), int(text.size()), &m_statement, nullptr) != SQLITE_OK || !m_statement)
        throw statementError(db, m_sql);
    m_pools.resize(sqlite3_column_count(m_statement));
}

RowReader::RowReader(Connection &connection, const char *statementName, StatementValues values)
    : RowReader(connection, statementName)
{
    run(values);
}

RowReader::~RowReader()
{
    sqlite3_finalize(m_statement);
}

void RowReader::run(StatementValues values)
{
    if (m_query) {
        m_query->finish();
        for (const auto &[name, value] : values)
            m_query->bindValue(u':' + QLatin1StringView(name), serverBindable(value));
        if (!m_query->exec())
            throw DbError::fromEngine(m_query->lastError(), m_sql);
        return;
    }
    sqlite3_reset(m_statement);
    sqlite3_clear_bindings(m_statement);
    for (const auto &[name, value] : values) {
        const int index = sqlite3_bind_parameter_index(m_statement, (":" + std::string(name)).c_str());
        Q_ASSERT_X(index > 0, "RowReader::run", name);
        if (index > 0)
            bind(m_statement, index, value);
    }
}

bool RowReader::next()
{
    if (m_query) {
        if (m_query->next())
            return true;
        if (m_query->lastError().isValid())
            throw DbError::fromEngine(m_query->lastError(), m_sql);
        return false;
    }
    const int result = sqlite3_step(m_statement);
    if (result == SQLITE_ROW)
        return true;
    if (result == SQLITE_DONE)
        return false;
    throw statementError(sqlite3_db_handle(m_statement), m_sql);
}

bool RowReader::isNull(int column) const
{
    if (m_query)
        return m_query->isNull(column);
    return sqlite3_column_type(m_statement, column) == SQLITE_NULL;
}

qint64 RowReader::integer(int column) const
{
    if (m_query)
        return m_query->value(column).toLongLong();
    return sqlite3_column_int64(m_statement, column);
}

QString RowReader::text(int column) const
{
    if (isNull(column))
        return {};
    if (m_query) {
        const QString value = m_query->value(column).toString();
        return value.isNull() ? QStringLiteral("") : value;
    }
    const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(m_statement, column));
    const int size = sqlite3_column_bytes(m_statement, column);
    if (size == 0)
        return QStringLiteral("");   // empty, not null
    return m_pools[column].take(text, size);
}

QDate RowReader::date(int column) const
{
    if (m_query)
        return m_query->value(column).toDate();
    if (sqlite3_column_type(m_statement, column) != SQLITE_TEXT)
        return {};
    const unsigned char *text = sqlite3_column_text(m_statement, column);
    if (sqlite3_column_bytes(m_statement, column) < 10 || text[4] != '-' || text[7] != '-')
        return {};
    return QDate(digits(text, 4), digits(text + 5, 2), digits(text + 8, 2));
}

std::optional<Currency> RowReader::amount(int column) const
{
    // A server register's amounts are bigint ten-thousandths: nothing else fits the column.
    if (m_query)
        return Currency::fromUnits(m_query->value(column).toLongLong());
    switch (sqlite3_column_type(m_statement, column)) {
    case SQLITE_NULL:
        return Currency();
    case SQLITE_INTEGER:
        return Currency::fromUnits(sqlite3_column_int64(m_statement, column));
    case SQLITE_FLOAT:
        // Past the range it is no amount, never a wrapped one.
        return Currency::fromRoundedUnits(sqlite3_column_double(m_statement, column));
    default:
        return Currency::parse(text(column));
    }
}
