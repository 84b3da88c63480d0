#pragma once

#include <QSize>

class QWidget;

// The designed size of a top-level window where its screen has room for it; on a small or
// scaled screen, what fits there with the window manager's frame and title bar.
QSize fitOnScreen(const QWidget *window, QSize designed);
