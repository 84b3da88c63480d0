#include "platform/ScreenFit.h"

#include <QScreen>
#include <QWidget>

QSize fitOnScreen(const QWidget *window, QSize designed)
{
    // Room for the frame and title bar most window managers draw around a window.
    constexpr QSize frameRoom(16, 48);
    const QWidget *onScreen = window->parentWidget() ? window->parentWidget() : window;
    return designed.boundedTo(onScreen->screen()->availableGeometry().size() - frameRoom);
}
