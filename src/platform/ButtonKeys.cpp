#include "platform/ButtonKeys.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>

namespace {

// Sees the key after the focused button ignored it and it travelled up to the window.
class FocusedButtonEnter final : public QObject
{
public:
    explicit FocusedButtonEnter(QWidget *window)
        : QObject(window)
        , m_window(window)
    {
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress)
            return QObject::eventFilter(watched, event);
        const auto *key = static_cast<QKeyEvent *>(event);
        if ((key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter)
            || (key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
            return QObject::eventFilter(watched, event);
        auto *button = qobject_cast<QPushButton *>(QApplication::focusWidget());
        if (!button || !m_window->isAncestorOf(button) || !button->isEnabled() || !button->isVisible())
            return QObject::eventFilter(watched, event);
        button->click();
        return true;
    }

private:
    QWidget *m_window;
};

} // namespace

void enterClicksFocusedButton(QWidget *window)
{
    window->installEventFilter(new FocusedButtonEnter(window));
}
