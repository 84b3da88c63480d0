#include "store/Schema.h"

#include "store/Database.h"
#include "store/JetSyntax.h"
#include "store/SqlTokenizer.h"

#include <QSqlError>
#include <QSqlQuery>

#include <algorithm>

namespace {

void execRaw(QSqlDatabase db, const QString &sql)
{
    QSqlQuery query(db);
    if (!query.exec(sql)) {
        bool ok = false;
        const int code = query.lastError().nativeErrorCode().toInt(&ok);
        throw DbError(ok ? code : -1, query.lastError().databaseText() + QStringLiteral(" (") + sql + u')');
    }
}

// A name in SQLite's own table definitions: plain, "quoted", [bracketed] or `backticked`.
bool isNameToken(const SqlToken &t)
{
    return t.kind == SqlToken::Name || t.kind == SqlToken::BracketName || t.kind == SqlToken::QuotedText;
}

QString tokenName(const SqlToken &t)
{
    return t.kind == SqlToken::Name ? t.text : t.value;
}

struct CutRange
{
    qsizetype begin;
    qsizetype end;
};

class EmptyTextChecks
{
public:
    EmptyTextChecks(QSqlDatabase db, const QString &createSql, const QStringList &allColumns, const QStringList &textColumns)
        : m_db(db), m_sql(createSql), m_columns(allColumns), m_textColumns(textColumns)
    {
    }

    // The table definition without the CHECK constraints that refuse the empty
    // text for a text column; empty when there is none.
    QString withoutRefusingChecks()
    {
        m_tokens = SqlTokenizer::tokenize(m_sql);
        int open = -1;
        for (int i = 0; i < m_tokens.size(); ++i) {
            if (m_tokens[i].isOperator(u"(")) {
                open = i;
                break;
            }
        }
        if (open < 0)
            return {};
        const int close = matching(open);
        if (close < 0)
            return {};
        QList<CutRange> cuts;
        int itemStart = open + 1;
        int depth = 0;
        for (int i = open + 1; i <= close; ++i) {
            const SqlToken &t = m_tokens[i];
            if (t.isOperator(u"("))
                ++depth;
            else if (t.isOperator(u")") && i != close)
                --depth;
            if ((depth == 0 && t.isOperator(u",")) || i == close) {
                examineItem(itemStart, i, open, cuts);
                itemStart = i + 1;
            }
        }
        if (cuts.isEmpty())
            return {};
        std::sort(cuts.begin(), cuts.end(), [](const CutRange &a, const CutRange &b) { return a.begin > b.begin; });
        QString result = m_sql;
        for (const CutRange &cut : cuts)
            result.remove(cut.begin, cut.end - cut.begin);
        return result;
    }

    // Offset of the column list's opening parenthesis in the definition.
    static qsizetype bodyStart(const QString &createSql)
    {
        for (const SqlToken &t : SqlTokenizer::tokenize(createSql)) {
            if (t.isOperator(u"("))
                return t.position;
        }
        return -1;
    }

private:
    int matching(int open) const
    {
        int depth = 0;
        for (int i = open; i < m_tokens.size(); ++i) {
            if (m_tokens[i].isOperator(u"("))
                ++depth;
            else if (m_tokens[i].isOperator(u")") && --depth == 0)
                return i;
        }
        return -1;
    }

    qsizetype endOf(int token) const { return m_tokens[token].position + m_tokens[token].text.size(); }

    // One column definition or table constraint, tokens [from, to); `to` is the
    // comma or the closing parenthesis after it.
    void examineItem(int from, int to, int open, QList<CutRange> &cuts)
    {
        if (from >= to)
            return;
        const bool tableConstraint = m_tokens[from].isWord(u"CONSTRAINT") || m_tokens[from].isWord(u"CHECK")
                                     || m_tokens[from].isWord(u"PRIMARY") || m_tokens[from].isWord(u"UNIQUE")
                                     || m_tokens[from].isWord(u"FOREIGN");
        const QString ownColumn = tableConstraint ? QString() : tokenName(m_tokens[from]);
        for (int i = from; i < to; ++i) {
            if (!m_tokens[i].isWord(u"CHECK") || !m_tokens[i + 1].isOperator(u"("))
                continue;
            const int checkClose = matching(i + 1);
            if (checkClose < 0 || checkClose >= to)
                return;
            int start = i;
            if (i >= 2 && m_tokens[i - 2].isWord(u"CONSTRAINT") && isNameToken(m_tokens[i - 1]))
                start = i - 2;
            if (refusesEmptyText(i + 2, checkClose, ownColumn)) {
                if (tableConstraint && start == from && checkClose + 1 == to) {
                    // The whole item goes, with the comma that separated it.
                    const int comma = from - 1;
                    if (comma > open)
                        cuts.append({m_tokens[comma].position, endOf(checkClose)});
                    else
                        cuts.append({m_tokens[from].position, endOf(to)});
                } else {
                    cuts.append({m_tokens[start].position, endOf(checkClose)});
                }
            }
            i = checkClose;
        }
    }

    // Evaluates the expression [from, to) with '' in place of the one text
    // column it names: a false result means the column refuses the empty text.
    bool refusesEmptyText(int from, int to, const QString &ownColumn) const
    {
        QString column;
        for (int i = from; i < to; ++i) {
            const SqlToken &t = m_tokens[i];
            if (!isNameToken(t) || (i + 1 < to && m_tokens[i + 1].isOperator(u"(")))
                continue;
            const QString name = tokenName(t);
            const bool isColumn = std::any_of(m_columns.begin(), m_columns.end(),
                                              [&](const QString &c) { return c.compare(name, Qt::CaseInsensitive) == 0; });
            if (!isColumn)
                continue;
            if (!column.isEmpty() && column.compare(name, Qt::CaseInsensitive) != 0)
                return false;   // a rule over several columns: not about empty texts alone
            column = name;
        }
        if (column.isEmpty())
            column = ownColumn;
        const bool isText = std::any_of(m_textColumns.begin(), m_textColumns.end(),
                                        [&](const QString &c) { return c.compare(column, Qt::CaseInsensitive) == 0; });
        if (!isText)
            return false;
        QString expression;
        for (int i = from; i < to; ++i) {
            const SqlToken &t = m_tokens[i];
            expression += t.space;
            const bool reference = isNameToken(t) && tokenName(t).compare(column, Qt::CaseInsensitive) == 0
                                   && !(i + 1 < to && m_tokens[i + 1].isOperator(u"("));
            expression += reference ? QStringLiteral("''") : t.text;
        }
        QSqlQuery query(m_db);
        if (!query.exec(QStringLiteral("SELECT (") + expression + u')') || !query.next())
            return false;
        const QVariant result = query.value(0);
        return !result.isNull() && result.toLongLong() == 0 && result.toDouble() == 0.0;
    }

    QSqlDatabase m_db;
    QString m_sql;
    QStringList m_columns;
    QStringList m_textColumns;
    QList<SqlToken> m_tokens;
};

void rebuildTable(Connection &connection, const QString &table, const QString &newCreateSql)
{
    QSqlDatabase db = connection.database();
    QSqlQuery query(db);
    query.exec(QStringLiteral("PRAGMA foreign_keys"));
    const bool foreignKeys = query.next() && query.value(0).toInt() != 0;
    query.finish();
    if (foreignKeys)
        execRaw(db, QStringLiteral("PRAGMA foreign_keys=OFF"));
    execRaw(db, QStringLiteral("PRAGMA legacy_alter_table=ON"));
    {
        TransactionGuard guard(connection);
        QStringList dependents;
        query.prepare(QStringLiteral(
            "SELECT sql FROM sqlite_master WHERE tbl_name=? AND type IN ('index','trigger') AND sql IS NOT NULL ORDER BY rowid"));
        query.addBindValue(table);
        if (!query.exec())
            throw DbError(-1, query.lastError().databaseText());
        while (query.next())
            dependents.append(query.value(0).toString());
        query.finish();

        QVariant sequence;
        if (query.exec(QStringLiteral("SELECT 1 FROM sqlite_master WHERE name='sqlite_sequence'")) && query.next()) {
            query.finish();
            query.prepare(QStringLiteral("SELECT seq FROM sqlite_sequence WHERE name=?"));
            query.addBindValue(table);
            if (query.exec() && query.next())
                sequence = query.value(0);
        }
        query.finish();

        const QString temporary = table + QStringLiteral("_rebuild");
        const qsizetype body = EmptyTextChecks::bodyStart(newCreateSql);
        execRaw(db, QStringLiteral("CREATE TABLE ") + JetSyntax::quotedName(temporary) + u' ' + newCreateSql.mid(body));
        execRaw(db, QStringLiteral("INSERT INTO %1 SELECT * FROM %2").arg(JetSyntax::quotedName(temporary), JetSyntax::quotedName(table)));
        execRaw(db, QStringLiteral("DROP TABLE ") + JetSyntax::quotedName(table));
        execRaw(db, QStringLiteral("ALTER TABLE %1 RENAME TO %2").arg(JetSyntax::quotedName(temporary), JetSyntax::quotedName(table)));
        if (sequence.isValid()) {
            query.prepare(QStringLiteral("UPDATE sqlite_sequence SET seq=? WHERE name=?"));
            query.addBindValue(sequence);
            query.addBindValue(table);
            if (!query.exec())
                throw DbError(-1, query.lastError().databaseText());
            query.finish();
        }
        for (const QString &sql : std::as_const(dependents))
            execRaw(db, sql);
        if (foreignKeys) {
            query.exec(QStringLiteral("PRAGMA foreign_key_check"));
            if (query.next())
                throw DbError(-1, QStringLiteral("Rebuilding %1 would break a foreign key.").arg(table));
            query.finish();
        }
        guard.commit();
    }
    execRaw(db, QStringLiteral("PRAGMA legacy_alter_table=OFF"));
    if (foreignKeys)
        execRaw(db, QStringLiteral("PRAGMA foreign_keys=ON"));
}

// The Accounts definition with AcId as the engine's counter, which never hands
// out an id again once its row is deleted: the AcId column becomes INTEGER PRIMARY
// KEY AUTOINCREMENT and a table-level key on it goes. Empty when it cannot be read.
QString accountsWithCounter(const QString &createSql)
{
    const QList<SqlToken> tokens = SqlTokenizer::tokenize(createSql);
    int open = -1;
    for (int i = 0; i < tokens.size() && open < 0; ++i) {
        if (tokens[i].isOperator(u"("))
            open = i;
    }
    if (open < 0)
        return {};
    struct Edit
    {
        qsizetype begin;
        qsizetype end;
        QString text;
    };
    QList<Edit> edits;
    int depth = 0;
    int itemStart = open + 1;
    bool columnFound = false;
    for (int i = open + 1; i < tokens.size(); ++i) {
        const SqlToken &t = tokens[i];
        const bool closing = t.isOperator(u")") && depth == 0;
        if (t.isOperator(u"("))
            ++depth;
        else if (t.isOperator(u")") && !closing)
            --depth;
        if (!closing && !(depth == 0 && t.isOperator(u",")))
            continue;
        if (itemStart < i) {
            const SqlToken &first = tokens[itemStart];
            const qsizetype end = tokens[i - 1].position + tokens[i - 1].text.size();
            int keyWord = itemStart;
            if (first.isWord(u"CONSTRAINT") && itemStart + 2 < i)
                keyWord = itemStart + 2;
            if (isNameToken(first) && tokenName(first).compare(u"AcId", Qt::CaseInsensitive) == 0) {
                edits.append({first.position, end, first.text + QStringLiteral(" INTEGER PRIMARY KEY AUTOINCREMENT")});
                columnFound = true;
            } else if (tokens[keyWord].isWord(u"PRIMARY")) {
                // The key moves onto the column; the comma before this item goes with it.
                edits.append({tokens[itemStart - 1].position, end, QString()});
            }
        }
        if (closing)
            break;
        itemStart = i + 1;
    }
    if (!columnFound)
        return {};
    // From the back, so the offsets of the edits still ahead stay true.
    QString result = createSql;
    for (auto it = edits.crbegin(); it != edits.crend(); ++it)
        result.replace(it->begin, it->end - it->begin, it->text);
    return result;
}

} // namespace

void upgradeSchemaGroupColumn(const QString &connectionString)
{
    Connection connection;
    try {
        connection.open(connectionString);
    } catch (const DbError &) {
        return;
    }
    try {
        connection.execute(QStringLiteral("ALTER TABLE Transactions ADD COLUMN TrGrpId INTEGER DEFAULT 0"));
    } catch (const DbError &) {
    }
    try {
        connection.execute(QStringLiteral("UPDATE Transactions SET Transactions.TrGrpId = 0 WHERE TrGrpId Is Null"));
    } catch (const DbError &) {
    }
    connection.close();
}

void enableZeroLengthText(const QString &connectionString)
{
    Connection connection;
    connection.open(connectionString);
    QList<QPair<QString, QString>> tables;
    {
        QSqlQuery query(connection.database());
        query.setForwardOnly(true);
        if (!query.exec(QStringLiteral("SELECT name, sql FROM sqlite_master WHERE type='table' "
                                       "AND name NOT LIKE 'sqlite\\_%' ESCAPE '\\' ORDER BY rowid")))
            throw DbError(query.lastError().nativeErrorCode().toInt(), query.lastError().databaseText());
        while (query.next())
            tables.append({query.value(0).toString(), query.value(1).toString()});
    }
    for (const auto &[table, createSql] : tables) {
        const SchemaInfo &schema = connection.schema();
        QStringList columns;
        QStringList textColumns;
        for (const auto &[column, kind] : schema.tables.value(table.toLower())) {
            columns.append(column);
            if (kind == ColumnKind::Text || kind == ColumnKind::Memo)
                textColumns.append(column);
        }
        if (textColumns.isEmpty())
            continue;
        const QString newSql = EmptyTextChecks(connection.database(), createSql, columns, textColumns).withoutRefusingChecks();
        if (newSql.isEmpty())
            continue;
        rebuildTable(connection, table, newSql);
        connection.reloadSchema();
    }
    connection.close();
}

void addOpenDeadlineIndex(const QString &connectionString)
{
    Connection connection;
    try {
        connection.open(connectionString);
        execRaw(connection.database(), QStringLiteral("CREATE INDEX IF NOT EXISTS TrDbIdDoneDate "
                                                      "ON Transactions (TrDbId, TrDone, TrDate)"));
    } catch (const DbError &) {
        // Only speed depends on it; a read-only or damaged file still opens.
    }
    connection.close();
}

void rebuildIndexes(const QString &connectionString)
{
    Connection connection;
    connection.open(connectionString);
    execRaw(connection.database(), QStringLiteral("REINDEX"));
    connection.close();
}

void giveAccountsACounter(const QString &connectionString)
{
    Connection connection;
    connection.open(connectionString);
    // Read first: a table that already counts its ids is left byte for byte.
    if (connection.schema().kindOf(QStringLiteral("Accounts"), QStringLiteral("AcId")) == ColumnKind::Counter)
        return;
    QString createSql;
    {
        QSqlQuery query(connection.database());
        if (!query.exec(QStringLiteral("SELECT sql FROM sqlite_master WHERE type='table' AND name='Accounts' COLLATE NOCASE"))
            || !query.next())
            return;
        createSql = query.value(0).toString();
    }
    const QString newSql = accountsWithCounter(createSql);
    if (newSql.isEmpty())
        return;
    rebuildTable(connection, QStringLiteral("Accounts"), newSql);
    connection.close();
}
