#pragma once

#include "store/Currency.h"

#include <QHash>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>
#include <stdexcept>
#include <vector>

// The store: connections to "orvel2.mdb" (an SQLite file) that accept the
// statement forms the program was written in (Jet SQL) and translate them.
//
// Value conventions of every field read through this layer:
//   Null            -> invalid QVariant (QVariant())
//   date columns    -> QDate (whole days; stored as 'yyyy-MM-dd' text)
//   currency        -> Currency (stored as integer ten-thousandths)
//   yes/no columns  -> bool (stored as 1 / 0)
//   counters, ints  -> int / qlonglong
//   texts           -> QString
// Column kinds come from the declared types of the schema (DATETIME, CURRENCY,
// YESNO, ...), so the translator knows which literals to convert.

// The one error type of the store: the engine's number and text.
class DbError : public std::runtime_error
{
public:
    DbError(int number, const QString &description, const QString &source = QStringLiteral("orvel2.store"));
    // Numbers raised by the store itself; the engine's own errors carry its code.
    static constexpr int FileNotFound = 3024;
    static constexpr int SyntaxError = 3075;
    static constexpr int NoCurrentRecord = 3021;
    static constexpr int ItemNotFound = 3265;
    static constexpr int UpdateFailed = 3197;
    static constexpr int NotSupported = 3251;
    static constexpr int NotOpen = 3704;
    static constexpr int NumericOverflow = 3349;
    static constexpr int NotOurDatabase = 3343;
    static constexpr int TypeMismatch = 3421;

    int number() const { return m_number; }
    const QString &description() const { return m_description; }
    const QString &source() const { return m_source; }

private:
    int m_number;
    QString m_description;
    QString m_source;
};

enum class ColumnKind { Integer, Counter, Text, Memo, Date, Currency, YesNo, Real, Other };

// Declared column kinds of every table, read once per connection.
struct SchemaInfo
{
    // lower-case table -> ordered list of (column, kind)
    QHash<QString, QList<QPair<QString, ColumnKind>>> tables;
    ColumnKind kindOf(const QString &column) const;   // searches every table, case-insensitive
    ColumnKind kindOf(const QString &table, const QString &column) const;
    QSet<QString> currencyColumns() const;            // lower-case names

    // lower-case table -> its primary key column (as declared), when it has a single one
    QHash<QString, QString> primaryKeys;
    // lower-case table -> the table's name as declared
    QHash<QString, QString> tableNames;
    bool hasTable(const QString &table) const { return tables.contains(table.toLower()); }
};

// Kind of a declared column type: INTEGER, COUNTER, VARCHAR(n)/TEXT, LONGTEXT/MEMO,
// DATETIME, CURRENCY, YESNO, REAL/DOUBLE; anything else is Other.
ColumnKind ColumnKindOfDeclaredType(const QString &declaredType, bool autoIncrementKey = false);

// Pure translation from a Jet statement to SQLite. Never touches the inside of a
// quoted text. Throws DbError for a statement it cannot read (unterminated quote,
// malformed date literal).
QString TranslateJetSql(const QString &jetSql, const SchemaInfo &schema = {});

// The translation together with what the select list says about its columns.
struct TranslatedSql
{
    QString sql;
    // lower-case result name -> kind, for columns whose kind the select list
    // reveals (plain or qualified columns, Min/Max/Sum/First/Last of a column,
    // Count, with or without an AS alias)
    QHash<QString, ColumnKind> resultKinds;
    // the one table of a FROM clause without joins ("" otherwise)
    QString singleTable;
};
TranslatedSql TranslateJetStatement(const QString &jetSql, const SchemaInfo &schema = {});

// "Provider=...;Data Source=<path>;Persist Security Info=False" -> <path>.
QString DataSourceFromConnectionString(const QString &connectionString);
// The connection string for a database folder, with the platform's separator.
QString BuildConnectionString(const QString &dbFolder);
// True when a test connection with the string fails (missing or damaged file).
bool databaseUnavailable(const QString &connectionString);

class Recordset;

class Connection
{
public:
    Connection();
    ~Connection();   // closes
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;

    // Opens the file named by the connection string. Never creates it: a missing
    // file throws DbError. Does not read the file yet (see test()).
    void open(const QString &connectionString);
    // Reads the schema: throws DbError when the file is not a usable database.
    void test();
    void close();
    bool isOpen() const;

    // Runs one Jet statement; returns the rows affected. Throws DbError.
    int execute(const QString &jetSql);

    void beginTrans();
    void commitTrans();
    void rollbackTrans();
    bool inTransaction() const { return m_inTransaction; }

    const SchemaInfo &schema();
    void reloadSchema();         // after a change of the tables' structure
    QSqlDatabase database() const;
    QString dataSource() const { return m_dataSource; }

private:
    friend class Recordset;
    void checkOpen() const;
    void releaseQueries();

    QString m_name;
    QString m_dataSource;
    bool m_inTransaction = false;
    std::unique_ptr<SchemaInfo> m_schema;
    std::vector<Recordset *> m_recordsets;   // open on this connection; released at close
};

// The defined maximum length of a text column (the n of its declared type
// VARCHAR(n)); 0 when the column has none or does not exist.
int TextColumnMaxLength(Connection &connection, const QString &table, const QString &column);

// Commits only when told to; rolls back in its destructor otherwise, so an
// exception anywhere inside a batch leaves nothing behind.
class TransactionGuard
{
public:
    explicit TransactionGuard(Connection &c);
    ~TransactionGuard();
    TransactionGuard(const TransactionGuard &) = delete;
    TransactionGuard &operator=(const TransactionGuard &) = delete;
    void commit();

private:
    Connection &m_connection;
    bool m_done = false;
};

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
