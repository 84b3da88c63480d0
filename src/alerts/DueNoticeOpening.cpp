#include "alerts/DueNoticeOpening.h"

#include "mainwindow/ListPanel.h"
#include "mainwindow/MainWindow.h"
#include "startup/Session.h"
#include "startup/Setting.h"
#include "store/DbError.h"
#include "store/Register.h"
#include "store/SheetStore.h"

#include <QApplication>
#include <QComboBox>

namespace {
constexpr int OpenDeadlinesView = 1;   // "Open Deadlines" in the view box
}

void showOpenDeadlines(MainWindow &window, Session &session, qint32 sheetId)
{
    if (sheetId != session.activeSheetId()) {
        try {
            SheetStore sheets(session.connectionString());
            if (!sheets.exists(sheetId))
                return;
            session.setActiveSheet(sheetId, sheets.name(sheetId));
        } catch (const DbError &) {
            return;
        }
        try {
            // Remembered as a choice from the sheets window is, for the next start.
            session.settings().setInteger(Setting::ActiveSheet, sheetId);
        } catch (const SettingsStore::WriteError &) {
            // This run shows the sheet all the same.
        }
        emit session.deadlineRegister().activeSheetChanged(sheetId);
    }
    window.listPanel()->viewCombo()->setCurrentIndex(OpenDeadlinesView);
    if (window.isMinimized())
        window.showNormal();
    window.show();
    window.raise();
    window.activateWindow();
    // A question still open over the window stays in front of it.
    if (QWidget *modal = QApplication::activeModalWidget(); modal && modal != &window) {
        modal->raise();
        modal->activateWindow();
    }
}
