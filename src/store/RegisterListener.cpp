#include "store/RegisterListener.h"

#include "store/Connection.h"
#include "store/Database.h"
#include "store/DbError.h"
#include "store/Register.h"

#include <QScopedValueRollback>
#include <QSqlDriver>
#include <QSqlQuery>
#include <QStringList>
#include <QUuid>

RegisterListener::RegisterListener(Register &changes, const QString &connectionString,
                                   std::function<qint32()> activeSheet, QObject *parent)
    : QObject(parent)
    , m_register(changes)
    , m_connectionString(connectionString)
    , m_activeSheet(std::move(activeSheet))
    , m_origin(QUuid::createUuid().toString(QUuid::WithoutBraces))
{
    if (!Database::isServerRegister(connectionString))
        return;
    m_check.setInterval(5000);
    connect(&m_check, &QTimer::timeout, this, &RegisterListener::checkConnection);
    m_retry.setSingleShot(true);
    connect(&m_retry, &QTimer::timeout, this, &RegisterListener::connectToServer);
    connect(&changes, &Register::deadlinesChanged, this,
            [this](qint32 sheetId, const QList<qint32> &rowIds) { send(Notice::Deadlines, sheetId, rowIds); });
    connect(&changes, &Register::counterpartiesChanged, this, [this] { send(Notice::Counterparties); });
    connect(&changes, &Register::sheetsChanged, this, [this] { send(Notice::Sheets); });
    connectToServer();
}

RegisterListener::~RegisterListener() = default;

bool RegisterListener::isListening() const
{
    return m_connection && m_connection->isOpen();
}

void RegisterListener::setTimings(int checkMs, int firstRetryMs, int longestRetryMs)
{
    m_check.setInterval(checkMs);
    m_firstRetryMs = m_nextRetryMs = firstRetryMs;
    m_longestRetryMs = longestRetryMs;
}

void RegisterListener::connectToServer()
{
    auto connection = std::make_unique<Connection>();
    try {
        connection->open(m_connectionString);
    } catch (const DbError &) {
        // Quietly: the windows report a lost server when they next read or write.
        m_wasLost = true;
        m_retry.start(m_nextRetryMs);
        m_nextRetryMs = qMin(m_nextRetryMs * 2, m_longestRetryMs);
        return;
    }
    QSqlDriver *driver = connection->database().driver();
    connect(driver, &QSqlDriver::notification, this,
            [this](const QString &channel, QSqlDriver::NotificationSource, const QVariant &payload) {
                received(channel, payload);
            });
    if (!driver->subscribeToNotification(Channel)) {
        m_wasLost = true;
        m_retry.start(m_nextRetryMs);
        m_nextRetryMs = qMin(m_nextRetryMs * 2, m_longestRetryMs);
        return;
    }
    m_connection = std::move(connection);
    m_nextRetryMs = m_firstRetryMs;
    m_check.start();
    emit listening();
    if (!m_wasLost)
        return;
    // Whatever the others announced meanwhile went unheard.
    m_wasLost = false;
    const QScopedValueRollback relaying(m_relaying, true);
    emit m_register.deadlinesChanged(m_activeSheet ? m_activeSheet() : 1, {});
    emit m_register.counterpartiesChanged();
    emit m_register.sheetsChanged();
}

void RegisterListener::dropConnection()
{
    m_check.stop();
    m_connection.reset();
    m_wasLost = true;
    m_retry.start(m_nextRetryMs);
    m_nextRetryMs = qMin(m_nextRetryMs * 2, m_longestRetryMs);
}

void RegisterListener::checkConnection()
{
    // The driver hears notices without asking, and says nothing when its
    // connection breaks: a trivial statement finds out.
    if (!m_connection)
        return;
    QSqlQuery probe(m_connection->database());
    if (!probe.exec(QStringLiteral("SELECT 1"))) {
        probe = QSqlQuery();
        dropConnection();
    }
}

QString RegisterListener::noticeText(const Notice &notice)
{
    switch (notice.kind) {
    case Notice::Counterparties:
        return notice.origin + QStringLiteral(" c");
    case Notice::Sheets:
        return notice.origin + QStringLiteral(" s");
    case Notice::Deadlines:
        break;
    }
    QString text = notice.origin + QStringLiteral(" d ") + QString::number(notice.sheetId);
    if (notice.rowIds.isEmpty())
        return text;
    const qsizetype sheetOnly = text.size();
    text += u' ';
    for (qsizetype i = 0; i < notice.rowIds.size(); ++i) {
        if (i > 0)
            text += u',';
        text += QString::number(notice.rowIds.at(i));
        // Digits and commas: one byte a character.
        if (text.size() > MaxNoticeBytes)
            return text.left(sheetOnly);
    }
    return text;
}

std::optional<RegisterListener::Notice> RegisterListener::parseNotice(const QString &text)
{
    const QStringList words = text.split(u' ', Qt::SkipEmptyParts);
    if (words.size() < 2)
        return std::nullopt;
    Notice notice;
    notice.origin = words.at(0);
    if (words.at(1) == u"c" && words.size() == 2) {
        notice.kind = Notice::Counterparties;
        return notice;
    }
    if (words.at(1) == u"s" && words.size() == 2) {
        notice.kind = Notice::Sheets;
        return notice;
    }
    if (words.at(1) != u"d" || words.size() < 3 || words.size() > 4)
        return std::nullopt;
    bool ok = false;
    notice.sheetId = words.at(2).toInt(&ok);
    if (!ok)
        return std::nullopt;
    if (words.size() == 4) {
        for (const QString &id : words.at(3).split(u',')) {
            notice.rowIds.append(id.toInt(&ok));
            if (!ok)
                return std::nullopt;
        }
    }
    return notice;
}

void RegisterListener::send(Notice::Kind kind, qint32 sheetId, const QList<qint32> &rowIds)
{
    if (m_relaying)
        return;
    const QString text = noticeText({m_origin, kind, sheetId, rowIds});
    const auto notify = [&text](Connection &connection) {
        QSqlQuery query(connection.database());
        query.prepare(QStringLiteral("SELECT pg_notify(?, ?)"));
        query.addBindValue(Channel);
        query.addBindValue(text);
        return query.exec();
    };
    if (m_connection && notify(*m_connection))
        return;
    if (m_connection)
        dropConnection();
    // The write went through another connection, so the server may well be
    // there: the notice goes out on one of its own.
    try {
        Connection once;
        once.open(m_connectionString);
        notify(once);
    } catch (const DbError &) {
    }
}

void RegisterListener::received(const QString &channel, const QVariant &payload)
{
    if (channel != Channel)
        return;
    const std::optional<Notice> notice = parseNotice(payload.toString());
    // This program's own notices come back too: its windows already know.
    if (!notice || notice->origin == m_origin)
        return;
    const QScopedValueRollback relaying(m_relaying, true);
    switch (notice->kind) {
    case Notice::Deadlines:
        emit m_register.deadlinesChanged(notice->sheetId, notice->rowIds);
        break;
    case Notice::Counterparties:
        emit m_register.counterpartiesChanged();
        break;
    case Notice::Sheets:
        emit m_register.sheetsChanged();
        break;
    }
}
