#pragma once

#include <QList>
#include <QObject>
#include <QPointer>

#include <functional>

class QWidget;

// Runs a command that writes at most once per user action. While it runs, the
// controls that start it are disabled and every click and key aimed at its window
// is swallowed, so a question asked in the middle (a nested event loop) cannot
// start it again. Input that was queued for the window while it was busy and finds
// the window closed afterwards is dropped instead of running the command a second
// time with the old fields.
class UserActionGuard final : public QObject
{
    Q_OBJECT
public:
    explicit UserActionGuard(QWidget *window, QList<QWidget *> triggers = {});

    // Runs action unless one is running or the window is no longer shown.
    // Returns whether it ran.
    bool run(const std::function<void()> &action);
    bool isRunning() const { return m_running; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void dropQueuedInput();

    QWidget *m_window;
    QList<QPointer<QWidget>> m_triggers;
    bool m_running = false;
};
