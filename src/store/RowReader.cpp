#include "store/RowReader.h"

#include "store/Connection.h"
#include "store/DbError.h"
#include "store/TextColumn.h"

#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QRegularExpression>

#include <libpq-fe.h>
#include <sqlite3.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

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

pg_conn *serverHandle(Connection &connection)
{
    const QVariant handle = connection.database().driver()->handle();
    if (qstrcmp(handle.typeName(), "pg_conn*") != 0)
        throw DbError(-1, QStringLiteral("The server connection has no libpq handle."));
    return *static_cast<PGconn *const *>(handle.constData());
}

// The server's error as the SQL module would report it, so that it maps to the
// same DbError (busy, lost connection...) by its SQLSTATE.
DbError serverError(PGconn *server, const PGresult *result, const QString &sql)
{
    const char *state = result ? PQresultErrorField(result, PG_DIAG_SQLSTATE) : nullptr;
    const char *message = result ? PQresultErrorMessage(result) : PQerrorMessage(server);
    return DbError::fromEngine(QSqlError(QString(), QString::fromUtf8(message).trimmed(), QSqlError::StatementError,
                                         QString::fromLatin1(state ? state : "")),
                               sql);
}

// A value as the server takes it in a text parameter; a null QByteArray is Null.
QByteArray serverText(const QVariant &given)
{
    const QVariant value = serverBindable(given);
    if (!value.isValid() || value.isNull())
        return {};
    if (value.typeId() == QMetaType::QDate)
        return value.toDate().toString(Qt::ISODate).toLatin1();
    QByteArray text = value.toString().toUtf8();
    return text.isNull() ? QByteArray("") : text;
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

RowReader::RowReader(Connection &connection, const char *statementName)
    : m_sql(storeStatement(connection.database().driverName(), statementName))
{
    if (connection.isServer()) {
        // libpq numbers its parameters: each :name becomes $n, a name used twice
        // keeps its number. (A cast's :: is no parameter.)
        m_server = serverHandle(connection);
        static const QRegularExpression named(QStringLiteral("(?<!:):([A-Za-z_][A-Za-z0-9_]*)"));
        QString numbered;
        qsizetype from = 0;
        for (const QRegularExpressionMatch &match : named.globalMatch(m_sql)) {
            const QByteArray name = match.captured(1).toLatin1();
            auto found = std::find(m_parameters.begin(), m_parameters.end(), name);
            if (found == m_parameters.end())
                found = m_parameters.insert(m_parameters.end(), name);
            numbered += m_sql.mid(from, match.capturedStart() - from) + u'$'
                + QString::number(found - m_parameters.begin() + 1);
            from = match.capturedEnd();
        }
        m_serverSql = (numbered + m_sql.mid(from)).toUtf8();
        m_pools.resize(17);
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
    PQclear(m_result);
}

void RowReader::run(StatementValues values)
{
    if (m_server) {
        PQclear(m_result);
        m_result = nullptr;
        m_row = -1;
        std::vector<QByteArray> texts(m_parameters.size());
        for (const auto &[name, value] : values) {
            const auto found = std::find(m_parameters.begin(), m_parameters.end(), QByteArray(name));
            Q_ASSERT_X(found != m_parameters.end(), "RowReader::run", name);
            if (found != m_parameters.end())
                texts[size_t(found - m_parameters.begin())] = serverText(value);
        }
        std::vector<const char *> pointers;
        for (const QByteArray &text : texts)
            pointers.push_back(text.isNull() ? nullptr : text.constData());
        // The whole result in one exchange, as text: the server's own output
        // functions are faster than anything the client could ask for instead.
        m_result = PQexecParams(m_server, m_serverSql.constData(), int(pointers.size()), nullptr, pointers.data(),
                                nullptr, nullptr, 0);
        if (PQresultStatus(m_result) != PGRES_TUPLES_OK)
            throw serverError(m_server, m_result, m_sql);
        if (m_pools.size() < size_t(PQnfields(m_result)))
            m_pools.resize(size_t(PQnfields(m_result)));
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
    if (m_server)
        return m_result && ++m_row < PQntuples(m_result);
    const int result = sqlite3_step(m_statement);
    if (result == SQLITE_ROW)
        return true;
    if (result == SQLITE_DONE)
        return false;
    throw statementError(sqlite3_db_handle(m_statement), m_sql);
}

int RowReader::rowCount() const
{
    return m_server && m_result ? PQntuples(m_result) : -1;
}

bool RowReader::isNull(int column) const
{
    if (m_server)
        return PQgetisnull(m_result, m_row, column);
    return sqlite3_column_type(m_statement, column) == SQLITE_NULL;
}

qint64 RowReader::integer(int column) const
{
    if (m_server)
        return std::strtoll(PQgetvalue(m_result, m_row, column), nullptr, 10);
    return sqlite3_column_int64(m_statement, column);
}

QString RowReader::text(int column) const
{
    if (isNull(column))
        return {};
    const char *text = value(column);
    const int size = m_server ? PQgetlength(m_result, m_row, column) : sqlite3_column_bytes(m_statement, column);
    if (size == 0)
        return QStringLiteral("");   // empty, not null
    TextPool &pool = m_pools[size_t(column)];
    return pool.text(pool.numberOfUtf8(text, size));
}

void RowReader::appendText(int column, TextColumn &into) const
{
    if (isNull(column))
        return into.appendNull();
    const int size = m_server ? PQgetlength(m_result, m_row, column) : sqlite3_column_bytes(m_statement, column);
    into.appendUtf8(value(column), size);
}

QDate RowReader::date(int column) const
{
    // Both engines give 'yyyy-MM-dd' (the SQL module sets a server's DateStyle to ISO).
    if (m_server ? PQgetisnull(m_result, m_row, column) : sqlite3_column_type(m_statement, column) != SQLITE_TEXT)
        return {};
    const auto *text = reinterpret_cast<const unsigned char *>(value(column));
    const int size = m_server ? PQgetlength(m_result, m_row, column) : sqlite3_column_bytes(m_statement, column);
    if (size < 10 || text[4] != '-' || text[7] != '-')
        return {};
    return QDate(digits(text, 4), digits(text + 5, 2), digits(text + 8, 2));
}

std::optional<Currency> RowReader::amount(int column) const
{
    // A server register's amounts are bigint ten-thousandths: nothing else fits the column.
    if (m_server)
        return Currency::fromUnits(integer(column));
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

const char *RowReader::value(int column) const
{
    if (m_server)
        return PQgetvalue(m_result, m_row, column);
    return reinterpret_cast<const char *>(sqlite3_column_text(m_statement, column));
}
