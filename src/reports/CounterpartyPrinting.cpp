#include "reports/CounterpartyPrinting.h"

#include "platform/Prompts.h"
#include "reports/ReportAssembly.h"
#include "reports/ReportDocument.h"
#include "reports/ReportPrinter.h"
#include "startup/Session.h"
#include "startup/Texts.h"
#include "store/CounterpartyStore.h"
#include "startup/DbErrorPrompt.h"

#include <QPrintDialog>
#include <QPrinter>

namespace {

constexpr int ListTitleText = 2600;

} // namespace

bool printCounterpartyList(QPrinter &printer, const QString &connectionString)
{
    ReportDocument document;
    fillCounterpartyReport(document, CounterpartyStore(connectionString).list(), Texts::text(ListTitleText),
                           programReportTexts());
    printer.setDocName(document.title());
    return ReportPrinter(document).print(&printer);
}

bool printCounterparties(QWidget *parent, const QString &connectionString)
{
    QPrinter printer(QPrinter::HighResolution);
    prepareReportPrinter(printer, QLocale());
    QPrintDialog dialog(&printer, parent);
    dialog.setWindowTitle(Texts::text(205));
    if (dialog.exec() != QDialog::Accepted)
        return false;
    bool printed = false;
    if (!DbErrorPrompt::run(connectionString, [&] { printed = printCounterpartyList(printer, connectionString); }))
        return false;
    return printed;
}
