#pragma once

#include "store/Currency.h"
#include "store/SchemaInfo.h"

#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>

class Connection;

enum class CursorType { ForwardOnly, Static };

class Recordset
{
public:
    Recordset();
    ~Recordset();
    Recordset(const Recordset &) = delete;
    Recordset &operator=(const Recordset &) = delete;

    // ForwardOnly streams the rows; Static reads them all, gives recordCount() and
    // lets fields be assigned and written back with update(). Throws DbError.
    void open(const QString &jetSql, Connection &connection, CursorType cursor = CursorType::ForwardOnly);
    // Opens a connection of its own with the connection string; it closes with the record set.
    void open(const QString &jetSql, const QString &connectionString, CursorType cursor = CursorType::ForwardOnly);
    void close();
    bool isOpen() const;

    bool eof() const;
    bool bof() const;
    int recordCount() const;     // -1 for a forward-only cursor
    void moveNext();
    void moveFirst();            // static only

    int fieldCount() const;
    QStringList fieldNames() const;
    ColumnKind fieldKind(int index) const;
    QVariant field(int index) const;
    QVariant field(const QString &name) const;   // case-insensitive; throws DbError for an unknown name
    int fieldIndex(const QString &name) const;   // case-insensitive; -1 for an unknown name

    // Static cursor on one table only.
    void setField(const QString &name, const QVariant &value);
    void addNew();              // a new row becomes current; update() inserts it
    void update();              // writes the current row back; an added row reads back its counter
    void cancelUpdate();        // forgets changes of the current row / the added row

private:
    friend class Connection;
    void openOn(const QString &jetSql, Connection &connection, CursorType cursor);
    void releaseQuery();
    void checkOpen() const;
    void checkIndex(int index) const;
    void checkWritable() const;

    struct Impl;
    std::unique_ptr<Impl> d;
};
