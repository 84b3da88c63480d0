#include "store/Recordset.h"

#include "store/Connection.h"
#include "store/DbError.h"
#include "store/JetSql.h"
#include "store/JetSyntax.h"
#include "store/StoredValue.h"

#include <QDateTime>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

#include <cmath>
#include <limits>

namespace {

DbError queryError(const QSqlQuery &query)
{
    return DbError::fromEngine(query.lastError());
}

} // namespace

struct Recordset::Impl
{
    CursorType cursor = CursorType::ForwardOnly;
    bool open = false;
    Connection *connection = nullptr;
    std::unique_ptr<Connection> ownConnection;
    TranslatedSql statement;

    QStringList names;
    QHash<QString, int> exactIndex;
    QHash<QString, int> lowerIndex;
    std::vector<ColumnKind> kinds;

    // forward-only
    QSqlQuery query;
    bool atEnd = true;
    int forwardRow = -1;

    // static
    std::vector<QVariantList> rows;
    int position = 0;
    QString table;                // the one table rows are written back to
    QString keyColumn;
    int keyIndex = -1;
    QStringList tableColumns;     // per field: the table's column it shows, "" when none
    QHash<int, QVariant> pending; // field -> value to store
    QVariantList original;        // the current row before its pending changes
    bool adding = false;
    int positionBeforeAdd = 0;
};

Recordset::Recordset() : d(std::make_unique<Impl>())
{
    registerCurrencyMetaType();
}

Recordset::~Recordset()
{
    try {
        close();
    } catch (...) {
    }
}

void Recordset::open(const QString &jetSql, Connection &connection, CursorType cursor)
{
    close();
    try {
        openOn(jetSql, connection, cursor);
    } catch (...) {
        close();
        throw;
    }
}

void Recordset::open(const QString &jetSql, const QString &connectionString, CursorType cursor)
{
    close();
    try {
        d->ownConnection = std::make_unique<Connection>();
        d->ownConnection->open(connectionString);
        openOn(jetSql, *d->ownConnection, cursor);
    } catch (...) {
        close();
        throw;
    }
}

void Recordset::openOn(const QString &jetSql, Connection &connection, CursorType cursor)
{
    connection.checkOpen();
    const SchemaInfo &schema = connection.schema();
    const TranslatedSql translated = translateJetStatement(jetSql, schema);
    d->cursor = cursor;
    d->statement = translated;
    d->connection = &connection;
    connection.m_recordsets.push_back(this);

    QSqlQuery query(connection.database());
    query.setForwardOnly(true);
    if (!Connection::run(query, translated))
        throw queryError(query);

    const QSqlRecord record = query.record();
    const bool knownTable = !translated.singleTable.isEmpty() && schema.hasTable(translated.singleTable);
    const int n = record.count();
    for (int i = 0; i < n; ++i) {
        const QString name = record.fieldName(i);
        const QString lower = name.toLower();
        d->names.append(name);
        d->exactIndex.insert(name, i);   // later duplicates lose: the first column wins
        if (!d->lowerIndex.contains(lower))
            d->lowerIndex.insert(lower, i);
    }
    d->kinds = resultColumnKinds(d->names, translated, schema);
    for (int i = n - 1; i >= 0; --i)
        d->exactIndex.insert(d->names[i], i);

    if (cursor == CursorType::ForwardOnly) {
        d->query = std::move(query);
        d->atEnd = !d->query.next();
        d->forwardRow = d->atEnd ? -1 : 0;
        if (d->atEnd)
            d->query.finish();
        else if (d->query.lastError().isValid())
            throw queryError(d->query);
    } else {
        while (query.next()) {
            QVariantList row;
            row.reserve(n);
            for (int i = 0; i < n; ++i)
                row.append(StoredValue::fromStorage(query.value(i), d->kinds[i]));
            d->rows.push_back(std::move(row));
        }
        if (query.lastError().isValid())
            throw queryError(query);
        query.finish();
        d->position = 0;
        if (knownTable) {
            d->table = schema.tableNames.value(translated.singleTable.toLower());
            d->keyColumn = schema.primaryKeys.value(translated.singleTable.toLower());
            const auto columns = schema.tables.value(translated.singleTable.toLower());
            for (int i = 0; i < n; ++i) {
                QString column;
                for (const auto &entry : columns) {
                    if (entry.first.compare(d->names[i], Qt::CaseInsensitive) == 0)
                        column = entry.first;
                }
                d->tableColumns.append(column);
                if (!d->keyColumn.isEmpty() && column == d->keyColumn && d->keyIndex < 0)
                    d->keyIndex = i;
            }
        }
    }
    d->open = true;
}

void Recordset::close()
{
    if (d->connection) {
        auto &list = d->connection->m_recordsets;
        list.erase(std::remove(list.begin(), list.end(), this), list.end());
    }
    d->query = QSqlQuery();
    d->ownConnection.reset();
    *d = Impl();
}

void Recordset::releaseQuery()
{
    // The connection is closing: a static record set keeps its rows for reading.
    if (d->cursor == CursorType::ForwardOnly) {
        d->query = QSqlQuery();
        d->atEnd = true;
    }
    d->connection = nullptr;
}

bool Recordset::isOpen() const
{
    return d->open;
}

void Recordset::checkOpen() const
{
    if (!d->open)
        throw DbError(DbError::NotOpen, QStringLiteral("Operation is not allowed when the object is closed."));
}

bool Recordset::eof() const
{
    if (!d->open)
        return true;
    if (d->cursor == CursorType::ForwardOnly)
        return d->atEnd;
    return d->position >= int(d->rows.size());
}

bool Recordset::bof() const
{
    if (!d->open)
        return true;
    if (d->cursor == CursorType::ForwardOnly)
        return d->forwardRow < 0;
    return d->rows.empty() || d->position < 0;
}

int Recordset::recordCount() const
{
    checkOpen();
    return d->cursor == CursorType::ForwardOnly ? -1 : int(d->rows.size());
}

void Recordset::moveNext()
{
    checkOpen();
    if (eof())
        throw DbError(DbError::NoCurrentRecord, QStringLiteral("Either BOF or EOF is True, or the current record has been deleted."));
    if (d->cursor == CursorType::ForwardOnly) {
        d->atEnd = !d->query.next();
        if (d->atEnd) {
            if (d->query.lastError().isValid())
                throw queryError(d->query);
            d->query.finish();
        } else {
            ++d->forwardRow;
        }
        return;
    }
    if (d->adding || !d->pending.isEmpty())
        update();
    ++d->position;
}

void Recordset::moveFirst()
{
    checkOpen();
    if (d->cursor == CursorType::Static) {
        if (d->adding || !d->pending.isEmpty())
            update();
        d->position = 0;
        return;
    }
    if (d->forwardRow == 0 && !d->atEnd)
        return;
    if (!d->connection)
        throw DbError(DbError::NotOpen, QStringLiteral("The connection of this record set is closed."));
    // A forward-only cursor cannot go back: read the rows again from the start.
    d->query = QSqlQuery(d->connection->database());
    d->query.setForwardOnly(true);
    if (!Connection::run(d->query, d->statement))
        throw queryError(d->query);
    d->atEnd = !d->query.next();
    d->forwardRow = d->atEnd ? -1 : 0;
    if (d->atEnd)
        d->query.finish();
}

int Recordset::fieldCount() const
{
    return int(d->names.size());
}

QStringList Recordset::fieldNames() const
{
    return d->names;
}

void Recordset::checkIndex(int index) const
{
    if (index < 0 || index >= int(d->names.size()))
        throw DbError(DbError::ItemNotFound,
                      QStringLiteral("Item cannot be found in the collection corresponding to the requested name or ordinal (%1).")
                          .arg(index));
}

ColumnKind Recordset::fieldKind(int index) const
{
    checkIndex(index);
    return d->kinds[index];
}

QVariant Recordset::field(int index) const
{
    checkOpen();
    checkIndex(index);
    if (eof() || bof())
        throw DbError(DbError::NoCurrentRecord, QStringLiteral("Either BOF or EOF is True, or the current record has been deleted."));
    if (d->cursor == CursorType::ForwardOnly)
        return StoredValue::fromStorage(d->query.value(index), d->kinds[index]);
    return d->rows[d->position][index];
}

int Recordset::fieldIndex(const QString &name) const
{
    const auto exact = d->exactIndex.constFind(name);
    if (exact != d->exactIndex.cend())
        return exact.value();
    return d->lowerIndex.value(name.toLower(), -1);
}

QVariant Recordset::field(const QString &name) const
{
    const int index = fieldIndex(name);
    if (index < 0)
        throw DbError(DbError::ItemNotFound,
                      QStringLiteral("Item cannot be found in the collection corresponding to the requested name or ordinal (%1).")
                          .arg(name));
    return field(index);
}

void Recordset::checkWritable() const
{
    checkOpen();
    if (d->cursor != CursorType::Static || d->table.isEmpty())
        throw DbError(DbError::NotSupported, QStringLiteral("The record set cannot be updated: it is not a static cursor on one table."));
}

void Recordset::setField(const QString &name, const QVariant &value)
{
    checkWritable();
    const int index = fieldIndex(name);
    if (index < 0)
        throw DbError(DbError::ItemNotFound,
                      QStringLiteral("Item cannot be found in the collection corresponding to the requested name or ordinal (%1).")
                          .arg(name));
    if (eof())
        throw DbError(DbError::NoCurrentRecord, QStringLiteral("Either BOF or EOF is True, or the current record has been deleted."));
    const QString column = d->tableColumns.value(index);
    if (column.isEmpty() || d->kinds[index] == ColumnKind::Counter)
        throw DbError(DbError::NotSupported, QStringLiteral("Field '%1' cannot be updated.").arg(name));
    const QVariant stored = StoredValue::toStorage(value, d->kinds[index], column);
    if (d->pending.isEmpty() && !d->adding)
        d->original = d->rows[d->position];
    d->pending.insert(index, stored);
    d->rows[d->position][index] = StoredValue::fromStorage(stored, d->kinds[index]);
}

void Recordset::addNew()
{
    checkWritable();
    if (d->adding || !d->pending.isEmpty())
        update();
    QVariantList row;
    for (int i = 0; i < fieldCount(); ++i)
        row.append(QVariant());
    d->positionBeforeAdd = d->position;
    d->rows.push_back(row);
    d->position = int(d->rows.size()) - 1;
    d->adding = true;
}

void Recordset::update()
{
    checkWritable();
    if (!d->adding && d->pending.isEmpty())
        return;
    if (!d->connection || !d->connection->isOpen())
        throw DbError(DbError::NotOpen, QStringLiteral("The connection of this record set is closed."));
    QSqlQuery query(d->connection->database());
    QList<int> fields = d->pending.keys();
    std::sort(fields.begin(), fields.end());
    QVariant key;
    if (d->adding) {
        QString sql;
        if (fields.isEmpty()) {
            sql = QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(JetSyntax::quotedName(d->table));
        } else {
            QStringList columns;
            QStringList marks;
            for (int f : fields) {
                columns.append(JetSyntax::quotedName(d->tableColumns[f]));
                marks.append(QStringLiteral("?"));
            }
            sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                      .arg(JetSyntax::quotedName(d->table), columns.join(QStringLiteral(", ")), marks.join(QStringLiteral(", ")));
        }
        if (!query.prepare(sql))
            throw queryError(query);
        for (int f : fields)
            query.addBindValue(Connection::bindable(d->pending.value(f)));
        if (!query.exec())
            throw queryError(query);
        key = query.lastInsertId();
        query.finish();
        if (!d->keyColumn.isEmpty() && d->keyIndex >= 0 && d->pending.contains(d->keyIndex))
            key = d->pending.value(d->keyIndex);
    } else {
        if (d->keyIndex < 0 || d->original.value(d->keyIndex).isNull())
            throw DbError(DbError::UpdateFailed, QStringLiteral("Row cannot be located for updating: the record set lacks the key column."));
        QStringList assignments;
        for (int f : fields)
            assignments.append(JetSyntax::quotedName(d->tableColumns[f]) + QStringLiteral(" = ?"));
        const QString sql = QStringLiteral("UPDATE %1 SET %2 WHERE %3 = ?")
                                .arg(JetSyntax::quotedName(d->table), assignments.join(QStringLiteral(", ")), JetSyntax::quotedName(d->keyColumn));
        if (!query.prepare(sql))
            throw queryError(query);
        for (int f : fields)
            query.addBindValue(Connection::bindable(d->pending.value(f)));
        key = StoredValue::toStorage(d->original.value(d->keyIndex), d->kinds[d->keyIndex], d->keyColumn);
        query.addBindValue(key);
        if (!query.exec())
            throw queryError(query);
        if (query.numRowsAffected() < 1)
            throw DbError(DbError::UpdateFailed, QStringLiteral("Row cannot be located for updating. Some values may have been changed since it was last read."));
        query.finish();
        if (d->pending.contains(d->keyIndex))
            key = d->pending.value(d->keyIndex);
    }
    // Read the written row back so counters, defaults and the engine's own
    // conversions show exactly what is stored.
    if (!d->keyColumn.isEmpty() && key.isValid()) {
        QSqlQuery reread(d->connection->database());
        reread.setForwardOnly(true);
        if (reread.prepare(QStringLiteral("SELECT * FROM %1 WHERE %2 = ?").arg(JetSyntax::quotedName(d->table), JetSyntax::quotedName(d->keyColumn)))) {
            reread.addBindValue(key);
            if (reread.exec() && reread.next()) {
                const QSqlRecord record = reread.record();
                QVariantList &row = d->rows[d->position];
                for (int i = 0; i < fieldCount(); ++i) {
                    if (d->tableColumns[i].isEmpty())
                        continue;
                    const int source = record.indexOf(d->tableColumns[i]);
                    if (source >= 0)
                        row[i] = StoredValue::fromStorage(reread.value(source), d->kinds[i]);
                }
            }
            reread.finish();
        }
    }
    d->pending.clear();
    d->original.clear();
    d->adding = false;
}

void Recordset::cancelUpdate()
{
    checkOpen();
    if (d->adding) {
        d->rows.pop_back();
        d->position = d->positionBeforeAdd;
        d->adding = false;
    } else if (!d->pending.isEmpty()) {
        d->rows[d->position] = d->original;
    }
    d->pending.clear();
    d->original.clear();
}
