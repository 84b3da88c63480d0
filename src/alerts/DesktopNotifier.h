#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <QtGlobal>

// The desktop's notifications (org.freedesktop.Notifications on the session bus),
// which the desktop shows in its own way. A session without a bus or without a
// notification server is no error: nothing is shown.
class DesktopNotifier final : public QObject
{
    Q_OBJECT

public:
    explicit DesktopNotifier(QObject *parent = nullptr);

    // Shows one notification; actions are pairs of a key and its label. The
    // server's id, or 0 when nothing could be shown.
    quint32 notify(const QString &summary, const QString &body, const QStringList &actions = {});

signals:
    // The user chose the action with that key on notification id.
    void actionInvoked(quint32 id, const QString &actionKey);

private slots:
    void onActionInvoked(uint id, const QString &actionKey);
};
