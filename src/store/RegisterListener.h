#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>
#include <QtGlobal>

#include <functional>
#include <memory>
#include <optional>

class Connection;
class Register;

// Brings other desks' changes of a server register to this program's windows:
// what the local Register announces is passed on to every other program with
// the register open, and what they announce comes out of the local Register's
// signals as if written here, so the list, calendar and panels refresh
// themselves and keep their current row. The server delivers each notice to the
// open connections as it arrives: nothing reads the tables to find out.
//
// A notice goes out right after the write committed, when the writer announces
// it; a write rolled back announces nothing, so it tells no one either.
// On a file it does nothing: one desk writes there.
class RegisterListener final : public QObject
{
    Q_OBJECT
public:
    // The server's channel all programs of a register listen on.
    static inline const QString Channel = QStringLiteral("orvel_register");
    // The server refuses a longer notice; one naming more rows names the sheet only.
    static constexpr int MaxNoticeBytes = 7999;

    // activeSheet tells which sheet a reconnection announces as changed.
    RegisterListener(Register &changes, const QString &connectionString, std::function<qint32()> activeSheet,
                     QObject *parent = nullptr);
    ~RegisterListener() override;

    // Whether its connection to the server is open and listening.
    bool isListening() const;
    // How often the open connection is checked (default 5 s), and the first and
    // longest wait before connecting again after it was lost (1 s doubling to 30 s).
    void setTimings(int checkMs, int firstRetryMs, int longestRetryMs);

    // One notice's text and back: the sending program's origin, then what changed.
    struct Notice
    {
        QString origin;
        enum Kind { Deadlines, Counterparties, Sheets } kind = Deadlines;
        qint32 sheetId = 0;
        QList<qint32> rowIds;   // empty: any row of the sheet
    };
    static QString noticeText(const Notice &notice);
    static std::optional<Notice> parseNotice(const QString &text);

signals:
    // The listening connection opened; again after it was lost.
    void listening();

private:
    void connectToServer();
    void dropConnection();
    void checkConnection();
    void send(Notice::Kind kind, qint32 sheetId = 0, const QList<qint32> &rowIds = {});
    void received(const QString &channel, const QVariant &payload);

    Register &m_register;
    QString m_connectionString;
    std::function<qint32()> m_activeSheet;
    QString m_origin;
    std::unique_ptr<Connection> m_connection;
    QTimer m_check;
    QTimer m_retry;
    int m_firstRetryMs = 1000;
    int m_longestRetryMs = 30000;
    int m_nextRetryMs = 1000;
    bool m_wasLost = false;
    bool m_relaying = false;   // emitting another desk's change: not to be sent back
};
