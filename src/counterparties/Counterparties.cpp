#include "counterparties/Counterparties.h"

#include "store/Database.h"
#include "store/SqlText.h"

namespace {

QString inUseQuery(qint32 id)
{
    // No TrDbId condition: a counterparty is shared by every sheet.
    return QStringLiteral("SELECT Accounts.AcId FROM Accounts INNER JOIN Transactions ON "
                          "Accounts.AcId = Transactions.TrAcId WHERE Accounts.AcId=")
        + QString::number(id);
}

bool inUse(Connection &connection, qint32 id)
{
    Recordset rs;
    rs.open(inUseQuery(id), connection);
    return !rs.eof();
}

} // namespace

Counterparties::Counterparty Counterparties::read(const QString &connectionString, qint32 id)
{
    Recordset rs;
    rs.open(QStringLiteral("SELECT * FROM Accounts WHERE AcId=") + QString::number(id), connectionString);
    Counterparty c;
    if (rs.eof())
        return c;
    c.id = rs.field(QStringLiteral("AcId")).toInt();
    c.name = stringOrDefault(rs.field(QStringLiteral("AcName")), QString());
    c.notes = stringOrDefault(rs.field(QStringLiteral("AcNotes")), QString());
    return c;
}

qint32 Counterparties::create(const QString &connectionString, const QString &name, const QString &notes)
{
    Connection connection;
    connection.open(connectionString);
    TransactionGuard transaction(connection);
    // The database's counter assigns the id, so an id once deleted is never handed
    // out again: a window still holding it cannot file a deadline under a stranger.
    Recordset rs;
    rs.open(QStringLiteral("SELECT * FROM Accounts WHERE AcId=0"), connection, CursorType::Static);
    rs.addNew();
    rs.setField(QStringLiteral("AcName"), name);
    rs.setField(QStringLiteral("AcNotes"), notes);
    rs.update();
    const qint32 id = rs.field(QStringLiteral("AcId")).toInt();
    rs.close();
    transaction.commit();
    return id;
}

void Counterparties::update(const QString &connectionString, qint32 id, const QString &name, const QString &notes)
{
    Connection connection;
    connection.open(connectionString);
    connection.execute(QStringLiteral("UPDATE Accounts SET Accounts.AcName = '") + quoteSqlText(name)
                       + QStringLiteral("', Accounts.AcNotes = '") + quoteSqlText(notes)
                       + QStringLiteral("' WHERE Accounts.AcId=") + QString::number(id));
}

bool Counterparties::exists(Connection &connection, qint32 id)
{
    Recordset rs;
    rs.open(QStringLiteral("SELECT AcId FROM Accounts WHERE AcId=") + QString::number(id), connection);
    return !rs.eof();
}

bool Counterparties::isInUse(const QString &connectionString, qint32 id)
{
    Connection connection;
    connection.open(connectionString);
    return inUse(connection, id);
}

bool Counterparties::remove(const QString &connectionString, qint32 id)
{
    Connection connection;
    connection.open(connectionString);
    TransactionGuard transaction(connection);
    // Tested inside the transaction, so no deadline can come to refer to the row
    // between the test and the delete.
    if (inUse(connection, id))
        return false;
    connection.execute(QStringLiteral("DELETE * FROM Accounts WHERE AcId=") + QString::number(id));
    transaction.commit();
    return true;
}

int Counterparties::textMaxLength(const QString &connectionString, const QString &column)
{
    Connection connection;
    connection.open(connectionString);
    return connection.textColumnMaxLength(QStringLiteral("Accounts"), column);
}
