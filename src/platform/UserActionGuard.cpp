#include "platform/UserActionGuard.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>
#include <QWindow>

#include <utility>

namespace {

bool isUserInput(QEvent::Type type)
{
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Shortcut:
    case QEvent::ShortcutOverride:
    case QEvent::Wheel:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
        return true;
    default:
        return false;
    }
}

} // namespace

UserActionGuard::UserActionGuard(QWidget *window, QList<QWidget *> triggers)
    : QObject(window)
    , m_window(window)
{
    for (QWidget *w : std::as_const(triggers))
        m_triggers.append(w);
}

bool UserActionGuard::run(const std::function<void()> &action)
{
    if (m_running || !m_window->isVisible())
        return false;
    m_running = true;
    const QPointer<QWidget> focused = QApplication::focusWidget();
    QList<QPointer<QWidget>> disabled;
    for (const QPointer<QWidget> &w : std::as_const(m_triggers)) {
        if (w && w->isEnabled()) {
            w->setEnabled(false);
            disabled.append(w);
        }
    }
    // A disabled control hands its focus on; it gets it back unless the action
    // chose another control (a field that failed its check).
    const QPointer<QWidget> displaced = QApplication::focusWidget();
    qApp->installEventFilter(this);
    // Whatever happens inside, the window gets its controls back.
    struct Restore
    {
        UserActionGuard *guard;
        QList<QPointer<QWidget>> &disabled;
        QPointer<QWidget> focused;
        QPointer<QWidget> displaced;
        ~Restore()
        {
            qApp->removeEventFilter(guard);
            for (const QPointer<QWidget> &w : std::as_const(disabled)) {
                if (w)
                    w->setEnabled(true);
            }
            if (focused && focused != displaced && QApplication::focusWidget() == displaced
                && guard->m_window->isVisible())
                focused->setFocus(Qt::OtherFocusReason);
            guard->m_running = false;
            if (!guard->m_window->isVisible())
                guard->dropQueuedInput();
        }
    } restore{this, disabled, focused, displaced};
    action();
    return true;
}

bool UserActionGuard::eventFilter(QObject *watched, QEvent *event)
{
    if (m_running && isUserInput(event->type()) && watched->isWidgetType()) {
        auto *target = static_cast<QWidget *>(watched);
        if (target == m_window || m_window->isAncestorOf(target))
            return true;
    }
    return QObject::eventFilter(watched, event);
}

void UserActionGuard::dropQueuedInput()
{
    QList<QObject *> receivers{m_window};
    receivers.append(m_window->findChildren<QObject *>());
    if (QWindow *handle = m_window->windowHandle())
        receivers.append(handle);
    for (QObject *receiver : std::as_const(receivers)) {
        for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease, QEvent::MouseButtonDblClick,
                                  QEvent::KeyPress, QEvent::KeyRelease, QEvent::Shortcut, QEvent::Wheel})
            QCoreApplication::removePostedEvents(receiver, type);
    }
}
