#pragma once

#include <QtGlobal>

class MainWindow;
class Session;

// What Open on a due notification does: the main window comes forward on that
// sheet, showing its open deadlines. A sheet deleted since is left alone.
void showOpenDeadlines(MainWindow &window, Session &session, qint32 sheetId);
