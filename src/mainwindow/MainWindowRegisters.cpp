// The registers beside the deadline list: the clients and suppliers window, the
// deadline sheets, the purge of closed deadlines and the two exports of the list.
#include "mainwindow/MainWindow.h"

#include "counterparties/CounterpartyList.h"
#include "deadlines/PurgeDialog.h"
#include "export/CalendarExport.h"
#include "export/ExportTexts.h"
#include "export/SafeFileWriter.h"
#include "export/SaveTarget.h"
#include "export/TextExport.h"
#include "mainwindow/ListedDeadlines.h"
#include "platform/grid/DataGrid.h"
#include "platform/Prompts.h"
#include "sheets/SheetsDialog.h"
#include "startup/Session.h"
#include "startup/Texts.h"

#include <QDateTime>

namespace {

void reportUnwritten(const SafeFileWriter &writer)
{
    // "The file could not be written:" and the path with the system's reason.
    Prompt::message(Texts::text(2500) + QStringLiteral("\n\n") + writer.errorText(), Session::AppTitle,
                    Prompt::Icon::Critical);
}

} // namespace

void MainWindow::showCounterparties()
{
    if (!m_counterpartyList)
        m_counterpartyList = new CounterpartyList(m_session.connectionString(), m_session.deadlineRegister(), this);
    m_counterpartyList->showList();
}

void MainWindow::showSheets()
{
    SheetsDialog dialog(m_session, this);
    dialog.exec();
}

void MainWindow::purgeClosedDeadlines()
{
    // "This procedure allows all past deadlines before a given date to be
    // deleted", "Continue?"; the purge window opens on Yes.
    if (Prompt::message(Texts::text(1301) + QStringLiteral("\n\n") + Texts::text(1302), Session::AppTitle,
                        Prompt::Icon::Question, Prompt::Buttons::YesNo)
        != Prompt::Answer::Yes)
        return;
    PurgeDialog dialog(m_session, this);
    dialog.exec();
}

QList<ListedDeadline> MainWindow::listedForExport() const
{
    return listedDeadlines(*m_list->model(), m_session.display().showGroupCounters,
                           m_session.display().counterSeparator);
}

void MainWindow::exportToText()
{
    // The whole text is made before the dialog, from the list as it stands.
    const ExportTexts texts = ExportTexts::fromTextTable([](int id) { return Texts::text(id); });
    const QByteArray bytes = encodeExportText(exportText(listedForExport(), texts));
    const QString target = askSaveTarget(Session::AppTitle + QStringLiteral(" - ") + Texts::text(1363),
                                         Texts::text(1364), QStringLiteral("txt"));
    if (target.isEmpty())
        return;
    SafeFileWriter writer(target);
    if (!writer.write(bytes))
        reportUnwritten(writer);
}

void MainWindow::exportToCalendar()
{
    const ExportTexts texts = ExportTexts::fromTextTable([](int id) { return Texts::text(id); });
    const QList<ListedDeadline> rows = listedForExport();
    const QString target = askSaveTarget(Session::AppTitle + QStringLiteral(" - ") + Texts::text(2502),
                                         Texts::text(2503), QStringLiteral("ics"));
    if (target.isEmpty())
        return;
    const QDateTime stamp = QDateTime::currentDateTimeUtc();
    SafeFileWriter writer(target);
    if (!writer.write([&](QIODevice &device) { return writeCalendar(device, rows, texts, stamp); }))
        reportUnwritten(writer);
}
