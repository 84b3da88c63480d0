#include "store/RowReader.h"

#include "store/Connection.h"
#include "store/Currency.h"
#include "store/DbError.h"
#include "store/StoredValue.h"

#include <QDate>
#include <QSqlDriver>

#include <sqlite3.h>

#include <limits>
#include <string>
#include <string_view>
#include <unordered_map>

namespace {

sqlite3 *handleOf(Connection &connection)
{
    const QVariant handle = connection.database().driver()->handle();
    if (qstrcmp(handle.typeName(), "sqlite3*") != 0)
        throw DbError(-1, QStringLiteral("The database connection has no SQLite handle."));
    return *static_cast<sqlite3 *const *>(handle.constData());
}

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
    case QMetaType::Double:
        sqlite3_bind_double(statement, index, value.toDouble());
        return;
    case QMetaType::QByteArray: {
        const QByteArray bytes = value.toByteArray();
        sqlite3_bind_blob64(statement, index, bytes.constData(), sqlite3_uint64(bytes.size()), SQLITE_TRANSIENT);
        return;
    }
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

RowReader::RowReader(Connection &connection, const QString &sql, const QVariantList &parameters) : m_sql(sql)
{
    sqlite3 *db = handleOf(connection);
    const QByteArray text = sql.toUtf8();
    if (sqlite3_prepare_v2(db, text.constData(), int(text.size()), &m_statement, nullptr) != SQLITE_OK || !m_statement)
        throw statementError(db, sql);
    for (int i = 0; i < parameters.size(); ++i)
        bind(m_statement, i + 1, parameters.at(i));
    const int count = sqlite3_column_count(m_statement);
    for (int i = 0; i < count; ++i)
        m_names.append(QString::fromUtf8(sqlite3_column_name(m_statement, i)));
    m_pools.resize(count);
}

RowReader::~RowReader()
{
    sqlite3_finalize(m_statement);
}

bool RowReader::next()
{
    const int result = sqlite3_step(m_statement);
    if (result == SQLITE_ROW)
        return true;
    if (result == SQLITE_DONE)
        return false;
    throw statementError(sqlite3_db_handle(m_statement), m_sql);
}

QVariant RowReader::value(int column) const
{
    const ColumnKind kind = column < int(m_kinds.size()) ? m_kinds[column] : ColumnKind::Other;
    switch (sqlite3_column_type(m_statement, column)) {
    case SQLITE_NULL:
        return {};
    case SQLITE_INTEGER: {
        const qint64 v = sqlite3_column_int64(m_statement, column);
        switch (kind) {
        case ColumnKind::Integer:
        case ColumnKind::Counter:
            if (v >= std::numeric_limits<int>::min() && v <= std::numeric_limits<int>::max())
                return int(v);
            return qlonglong(v);
        case ColumnKind::Currency:
            return QVariant::fromValue(Currency::fromUnits(v));
        case ColumnKind::YesNo:
            return v != 0;
        default:
            return StoredValue::fromStorage(qlonglong(v), kind);
        }
    }
    case SQLITE_FLOAT:
        return StoredValue::fromStorage(sqlite3_column_double(m_statement, column), kind);
    case SQLITE_TEXT: {
        const unsigned char *text = sqlite3_column_text(m_statement, column);
        const int size = sqlite3_column_bytes(m_statement, column);
        // The stored 'yyyy-MM-dd' of a date column, without a string in between.
        if (kind == ColumnKind::Date && size == 10 && text[4] == '-' && text[7] == '-') {
            const QDate date(digits(text, 4), digits(text + 5, 2), digits(text + 8, 2));
            if (date.isValid())
                return date;
        }
        const QString value = m_pools[column].take(reinterpret_cast<const char *>(text), size);
        if (kind == ColumnKind::Text || kind == ColumnKind::Memo || kind == ColumnKind::Other)
            return value;
        return StoredValue::fromStorage(value, kind);
    }
    default: {
        const auto *bytes = static_cast<const char *>(sqlite3_column_blob(m_statement, column));
        return StoredValue::fromStorage(QByteArray(bytes, sqlite3_column_bytes(m_statement, column)), kind);
    }
    }
}
