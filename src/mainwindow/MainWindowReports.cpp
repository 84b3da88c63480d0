// The main window's printed reports: File > Print and the toolbar's print
// button open the report window over the active sheet.
#include "mainwindow/MainWindow.h"

#include "reports/ReportWindow.h"

void MainWindow::openReport()
{
    ReportWindow window(m_session, this);
    window.exec();
}
