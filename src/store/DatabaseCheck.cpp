#include "store/DatabaseCheck.h"

#include "store/Database.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QRegularExpression>
#include <QUrl>

#include <algorithm>

#include <atomic>
#include <initializer_list>

namespace {

using Kind = DatabaseProblem::Kind;
using Damage = DatabaseProblem::Damage;

// What a declared column type holds, as far as the check needs to know.
enum class ColumnKind { Integer, Counter, Text, Memo, Date, Currency, YesNo, Other };

ColumnKind kindOfDeclaredType(const QString &declaredType)
{
    QString base = declaredType.trimmed().toUpper();
    const qsizetype paren = base.indexOf(u'(');
    if (paren >= 0)
        base = base.left(paren).trimmed();
    static const QHash<QString, ColumnKind> kinds{
        {QStringLiteral("COUNTER"), ColumnKind::Counter},   {QStringLiteral("AUTOINCREMENT"), ColumnKind::Counter},
        {QStringLiteral("INTEGER"), ColumnKind::Integer},   {QStringLiteral("INT"), ColumnKind::Integer},
        {QStringLiteral("LONG"), ColumnKind::Integer},      {QStringLiteral("SMALLINT"), ColumnKind::Integer},
        {QStringLiteral("SHORT"), ColumnKind::Integer},     {QStringLiteral("BYTE"), ColumnKind::Integer},
        {QStringLiteral("TINYINT"), ColumnKind::Integer},   {QStringLiteral("BIGINT"), ColumnKind::Integer},
        {QStringLiteral("DATETIME"), ColumnKind::Date},     {QStringLiteral("DATE"), ColumnKind::Date},
        {QStringLiteral("TIMESTAMP"), ColumnKind::Date},    {QStringLiteral("CURRENCY"), ColumnKind::Currency},
        {QStringLiteral("MONEY"), ColumnKind::Currency},    {QStringLiteral("YESNO"), ColumnKind::YesNo},
        {QStringLiteral("BIT"), ColumnKind::YesNo},         {QStringLiteral("BOOLEAN"), ColumnKind::YesNo},
        {QStringLiteral("BOOL"), ColumnKind::YesNo},        {QStringLiteral("LOGICAL"), ColumnKind::YesNo},
        {QStringLiteral("MEMO"), ColumnKind::Memo},         {QStringLiteral("LONGTEXT"), ColumnKind::Memo},
        {QStringLiteral("LONGCHAR"), ColumnKind::Memo},     {QStringLiteral("NOTE"), ColumnKind::Memo},
        {QStringLiteral("CLOB"), ColumnKind::Memo},         {QStringLiteral("VARCHAR"), ColumnKind::Text},
        {QStringLiteral("TEXT"), ColumnKind::Text},         {QStringLiteral("CHAR"), ColumnKind::Text},
        {QStringLiteral("NVARCHAR"), ColumnKind::Text},     {QStringLiteral("NCHAR"), ColumnKind::Text},
        {QStringLiteral("CHARACTER"), ColumnKind::Text},    {QStringLiteral("STRING"), ColumnKind::Text},
        {QStringLiteral("VARYING CHARACTER"), ColumnKind::Text},
    };
    return kinds.value(base, ColumnKind::Other);
}

struct RequiredColumn
{
    const char *name;
    std::initializer_list<ColumnKind> kinds;
    bool addedByUpgrade = false;
};

struct RequiredTable
{
    const char *name;
    std::initializer_list<RequiredColumn> columns;
};

// Every column some part of the program reads, with the kinds it can read it as.
const RequiredTable requiredTables[] = {
    {"Transactions",
     {{"TrRowId", {ColumnKind::Counter, ColumnKind::Integer}},
      {"TrDbId", {ColumnKind::Integer}},
      {"TrType", {ColumnKind::Integer}},
      {"TrDone", {ColumnKind::YesNo}},
      {"TrDate", {ColumnKind::Date}},
      {"TrDescription", {ColumnKind::Text, ColumnKind::Memo}},
      {"TrAcId", {ColumnKind::Integer}},
      {"TrValue", {ColumnKind::Currency}},
      {"TrBalance", {ColumnKind::Currency}},
      {"TrGrpType", {ColumnKind::Text, ColumnKind::Memo}},
      {"TrGrpRow", {ColumnKind::Integer}},
      {"TrGrpMDay", {ColumnKind::Integer}},
      {"TrNotes", {ColumnKind::Memo, ColumnKind::Text}},
      // An older file lacks it; the schema upgrade at start adds it.
      {"TrGrpId", {ColumnKind::Integer}, true}}},
    {"Accounts",
     {{"AcId", {ColumnKind::Counter, ColumnKind::Integer}},
      {"AcName", {ColumnKind::Text, ColumnKind::Memo}},
      {"AcNotes", {ColumnKind::Memo, ColumnKind::Text}}}},
    {"Dbs", {{"DbId", {ColumnKind::Integer, ColumnKind::Counter}}, {"DbName", {ColumnKind::Text, ColumnKind::Memo}}}},
};

DatabaseProblem problem(Kind kind, const QString &path, const QString &detail = {})
{
    DatabaseProblem p;
    p.kind = kind;
    p.path = path;
    p.detail = detail;
    return p;
}

DatabaseProblem damaged(const QString &path, Damage damage, const QString &table = {}, const QString &column = {},
                        const QString &detail = {})
{
    DatabaseProblem p = problem(Kind::Damaged, path, detail);
    p.damage = damage;
    p.table = table;
    p.column = column;
    return p;
}

// What an engine error says about the file.
DatabaseProblem engineProblem(const QSqlError &error, const QString &path)
{
    bool ok = false;
    const int code = error.nativeErrorCode().toInt(&ok) & 0xff;
    const QString words = error.databaseText().isEmpty() ? error.text() : error.databaseText();
    switch (ok ? code : -1) {
    case 5:    // SQLITE_BUSY
    case 6:    // SQLITE_LOCKED
        return problem(Kind::Busy, path, words);
    case 3:    // SQLITE_PERM
    case 8:    // SQLITE_READONLY
    case 14:   // SQLITE_CANTOPEN
    case 23:   // SQLITE_AUTH
        return problem(Kind::Unreadable, path, words);
    case 11:   // SQLITE_CORRUPT
        return damaged(path, Damage::Pages, {}, {}, words);
    default:
        return damaged(path, Damage::NotADatabase, {}, {}, words);
    }
}

class CheckConnection
{
public:
    explicit CheckConnection(const QString &path)
    {
        static std::atomic<quint64> counter{0};
        m_name = QStringLiteral("orvel2.check.") + QString::number(++counter);
        QString absolute = QDir::fromNativeSeparators(QFileInfo(path).absoluteFilePath());
        if (!absolute.startsWith(u'/'))
            absolute.prepend(u'/');
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
        // mode=rw: never create the file; reading only, but a journal left by
        // a crash must still be rolled back for the file to be read at all.
        db.setDatabaseName(QStringLiteral("file://") + QString::fromLatin1(QUrl::toPercentEncoding(absolute, "/"))
                           + QStringLiteral("?mode=rw"));
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=1000"));
        m_opened = db.open();
        if (!m_opened)
            m_openError = db.lastError();
    }
    ~CheckConnection()
    {
        {
            QSqlDatabase db = QSqlDatabase::database(m_name, false);
            db.close();
        }
        QSqlDatabase::removeDatabase(m_name);
    }
    CheckConnection(const CheckConnection &) = delete;
    CheckConnection &operator=(const CheckConnection &) = delete;

    bool opened() const { return m_opened; }
    QSqlError openError() const { return m_openError; }
    QSqlDatabase database() const { return QSqlDatabase::database(m_name, false); }

private:
    QString m_name;
    bool m_opened = false;
    QSqlError m_openError;
};

// Rows of a one-column result; false with the error when the engine refused.
bool readColumn(QSqlDatabase db, const QString &sql, int column, QStringList &values, QSqlError &error)
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.exec(sql)) {
        error = query.lastError();
        return false;
    }
    while (query.next())
        values.append(query.value(column).toString());
    error = query.lastError();
    query.finish();
    return !error.isValid();
}

} // namespace

DatabaseProblem DatabaseCheck::inspectPath(const QString &path)
{
    const QFileInfo file(path);
    if (file.isSymLink() && !file.exists())
        return problem(Kind::DanglingLink, path, file.symLinkTarget());
    const QFileInfo folder(file.absolutePath());
    if (folder.exists() && !folder.isDir())
        return problem(Kind::FolderIsAFile, path, folder.absoluteFilePath());
    if (folder.exists() && (!folder.isExecutable() || !folder.isReadable()))
        return problem(Kind::FolderUnreachable, path, folder.absoluteFilePath());
    if (!file.exists())
        return problem(Kind::Missing, path);
    if (!file.isFile())
        return problem(Kind::NotAFile, path);
    if (!file.isReadable() || !file.isWritable())
        return problem(Kind::Unreadable, path);
    return {};
}

DatabaseProblem DatabaseCheck::inspectFolder(const QString &folder)
{
    const QFileInfo info(folder);
    if (folder.trimmed().isEmpty() || QDir::isRelativePath(folder) || !info.exists())
        return problem(Kind::FolderMissing, folder, folder);
    if (!info.isDir())
        return problem(Kind::FolderIsAFile, folder, folder);
    if (!info.isExecutable() || !info.isReadable())
        return problem(Kind::FolderUnreachable, folder, folder);
    if (!info.isWritable())
        return problem(Kind::FolderReadOnly, folder, folder);
    return {};
}

DatabaseProblem DatabaseCheck::check(const QString &connectionString)
{
    const QString path = Database::dataSource(connectionString);
    DatabaseProblem found = inspectPath(path);
    if (!found.ok())
        return found;
    CheckConnection connection(path);
    if (!connection.opened())
        return engineProblem(connection.openError(), path);
    const QSqlDatabase db = connection.database();

    QSqlError error;
    QStringList tables;
    if (!readColumn(db, QStringLiteral("SELECT name FROM sqlite_master WHERE type='table'"), 0, tables, error))
        return engineProblem(error, path);
    for (const RequiredTable &required : requiredTables) {
        const QString table = QLatin1String(required.name);
        if (!tables.contains(table, Qt::CaseInsensitive))
            return damaged(path, Damage::MissingTable, table);
        QStringList names;
        QStringList types;
        const QString info = QStringLiteral("PRAGMA table_info(\"%1\")").arg(table);
        if (!readColumn(db, info, 1, names, error) || !readColumn(db, info, 2, types, error))
            return engineProblem(error, path);
        for (const RequiredColumn &column : required.columns) {
            const QString name = QLatin1String(column.name);
            const qsizetype at = names.indexOf(QRegularExpression(QRegularExpression::escape(name),
                                                                  QRegularExpression::CaseInsensitiveOption));
            if (at < 0) {
                if (column.addedByUpgrade)
                    continue;
                return damaged(path, Damage::MissingColumn, table, name);
            }
            // An INTEGER PRIMARY KEY AUTOINCREMENT reads as a counter; the
            // declared type alone says Integer, which every counter accepts.
            const ColumnKind kind = kindOfDeclaredType(types.value(at));
            if (std::find(column.kinds.begin(), column.kinds.end(), kind) == column.kinds.end())
                return damaged(path, Damage::WrongKind, table, name, types.value(at));
        }
    }

    QStringList sheets;
    if (!readColumn(db, QStringLiteral("SELECT DbId FROM Dbs LIMIT 1"), 0, sheets, error))
        return engineProblem(error, path);
    if (sheets.isEmpty())
        return damaged(path, Damage::NoSheet, QStringLiteral("Dbs"));

    // The quick check reads no index against its table: a file cut short by one
    // byte passes it, and every later write through the broken index spreads the damage.
    QStringList verdict;
    if (!readColumn(db, QStringLiteral("PRAGMA integrity_check(10)"), 0, verdict, error))
        return engineProblem(error, path);
    if (verdict == QStringList{QStringLiteral("ok")})
        return {};
    const QStringList shown = verdict.mid(0, 3);
    // The engine checks every page before any index: index lines alone mean the rows read,
    // and the indexes can be rebuilt from them.
    static const QRegularExpression indexOnly(
        QStringLiteral("^(row \\d+ missing from index |wrong # of entries in index |non-unique entry in index )"));
    const bool indexesOnly = std::all_of(verdict.cbegin(), verdict.cend(),
                                         [](const QString &line) { return indexOnly.match(line).hasMatch(); });
    return damaged(path, indexesOnly ? Damage::Indexes : Damage::Pages, {}, {}, shown.join(u'\n'));
}
