#include "deadlines/DeadlineUpdate.h"

#include "store/CounterpartyStore.h"
#include "store/Currency.h"
#include "store/Database.h"

#include <QDate>

namespace {

QString rowSql(qint32 rowId)
{
    return QStringLiteral("SELECT * FROM Transactions WHERE TrRowId=") + QString::number(rowId);
}

bool isA(const QVariant &v, int typeId)
{
    return v.userType() == typeId;
}

// Equal as the columns' kinds compare: Null text is the empty text, a Null
// number is 0, currency by its units.
bool sameValue(const QVariant &a, const QVariant &b)
{
    const int currency = qMetaTypeId<Currency>();
    if (isA(a, currency) || isA(b, currency))
        return a.value<Currency>() == b.value<Currency>();
    if (isA(a, QMetaType::QDate) || isA(b, QMetaType::QDate))
        return a.toDate() == b.toDate();
    if (isA(a, QMetaType::QString) || isA(b, QMetaType::QString))
        return a.toString() == b.toString();
    if (isA(a, QMetaType::Bool) || isA(b, QMetaType::Bool))
        return a.toBool() == b.toBool();
    return a.toLongLong() == b.toLongLong();
}

QVariantMap rowValues(const Recordset &rs)
{
    QVariantMap row;
    const QStringList names = rs.fieldNames();
    for (int i = 0; i < names.size(); ++i)
        row.insert(names.at(i), rs.field(i));
    return row;
}

} // namespace

DeadlineUpdate::DeadlineUpdate(qint32 rowId, QVariantMap stored)
    : m_rowId(rowId)
    , m_stored(std::move(stored))
{
}

std::optional<DeadlineUpdate> DeadlineUpdate::read(Connection &connection, qint32 rowId)
{
    Recordset rs;
    rs.open(rowSql(rowId), connection, CursorType::Static);
    if (rs.eof())
        return std::nullopt;
    DeadlineUpdate update(rowId, rowValues(rs));
    rs.close();
    return update;
}

void DeadlineUpdate::change(const QString &column, const QVariant &value)
{
    if (sameValue(m_stored.value(column), value))
        m_changes.remove(column);
    else
        m_changes.insert(column, value);
}

DeadlineUpdate::Outcome DeadlineUpdate::write(Connection &connection)
{
    m_conflicts.clear();
    TransactionGuard guard(connection);
    Recordset rs;
    rs.open(rowSql(m_rowId), connection, CursorType::Static);
    if (rs.eof())
        return Outcome::Gone;
    const QVariantMap now = rowValues(rs);
    for (auto it = m_changes.cbegin(); it != m_changes.cend(); ++it) {
        if (!sameValue(now.value(it.key()), m_stored.value(it.key())))
            m_conflicts.append(it.key());
    }
    if (!m_conflicts.isEmpty()) {
        m_stored = now;
        for (const QString &column : std::as_const(m_conflicts))
            m_changes.remove(column);
        return Outcome::Conflict;
    }
    if (m_changes.isEmpty())
        return Outcome::Written;
    const qint32 acId = m_changes.value(QStringLiteral("TrAcId")).toInt();
    if (acId > 0 && !CounterpartyStore(connection).exists(acId))
        return Outcome::CounterpartyGone;

    for (auto it = m_changes.cbegin(); it != m_changes.cend(); ++it)
        rs.setField(it.key(), it.value());
    const auto value = m_changes.constFind(QStringLiteral("TrValue"));
    if (value != m_changes.cend()) {
        const int trType = int(now.value(QStringLiteral("TrType")).toLongLong());
        rs.setField(QStringLiteral("TrBalance"),
                    QVariant::fromValue(value->value<Currency>().checkedMul(trType).value_or(Currency())));
    }
    rs.update();
    const QVariantMap written = rowValues(rs);
    rs.close();
    guard.commit();
    m_stored = written;
    m_changes.clear();
    return Outcome::Written;
}
