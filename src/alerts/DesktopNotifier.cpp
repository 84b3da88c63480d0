#include "alerts/DesktopNotifier.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QVariantMap>

namespace {

const QString Service = QStringLiteral("org.freedesktop.Notifications");
const QString Path = QStringLiteral("/org/freedesktop/Notifications");
const QString Interface = QStringLiteral("org.freedesktop.Notifications");
// The name the installed menu entry and icon carry.
const QString DesktopEntry = QStringLiteral("com.kestrum.Orvel2");
// Long enough for a busy desktop, short enough that a login check never hangs.
constexpr int ReplyTimeoutMs = 3000;

}

DesktopNotifier::DesktopNotifier(QObject *parent)
    : QObject(parent)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (bus.isConnected())
        bus.connect(Service, Path, Interface, QStringLiteral("ActionInvoked"), this,
                    SLOT(onActionInvoked(uint,QString)));
}

quint32 DesktopNotifier::notify(const QString &summary, const QString &body, const QStringList &actions)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return 0;
    // A server that reads markup in the body would take "Rent & rates" for a broken tag.
    const QDBusMessage capabilities = bus.call(
        QDBusMessage::createMethodCall(Service, Path, Interface, QStringLiteral("GetCapabilities")), QDBus::Block,
        ReplyTimeoutMs);
    if (capabilities.type() != QDBusMessage::ReplyMessage)
        return 0;
    const bool markup = !capabilities.arguments().isEmpty()
                        && capabilities.arguments().constFirst().toStringList().contains(QStringLiteral("body-markup"));
    QDBusMessage call = QDBusMessage::createMethodCall(Service, Path, Interface, QStringLiteral("Notify"));
    QVariantMap hints;
    hints.insert(QStringLiteral("desktop-entry"), DesktopEntry);
    call << QStringLiteral("Orvel 2") << uint(0) << DesktopEntry << summary << (markup ? body.toHtmlEscaped() : body) << actions << hints
         << int(-1);
    const QDBusMessage reply = bus.call(call, QDBus::Block, ReplyTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return 0;
    return reply.arguments().constFirst().toUInt();
}

void DesktopNotifier::onActionInvoked(uint id, const QString &actionKey)
{
    emit actionInvoked(id, actionKey);
}
