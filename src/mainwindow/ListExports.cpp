#include "mainwindow/ListExports.h"

#include "export/CalendarExport.h"
#include "export/ExportTexts.h"
#include "export/SafeFileWriter.h"
#include "export/SaveTarget.h"
#include "export/TextExport.h"
#include "platform/Prompts.h"
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

void ListExports::toText(const QList<ListedDeadline> &rows)
{
    // The whole text is made before the dialog, from the list as it stands.
    const ExportTexts texts = ExportTexts::fromTextTable([](int id) { return Texts::text(id); });
    const QByteArray bytes = encodeExportText(exportText(rows, texts));
    const QString target = askSaveTarget(Session::AppTitle + QStringLiteral(" - ") + Texts::text(1363),
                                         Texts::text(1364), QStringLiteral("txt"));
    if (target.isEmpty())
        return;
    SafeFileWriter writer(target);
    if (!writer.write(bytes))
        reportUnwritten(writer);
}

void ListExports::toCalendar(const QList<ListedDeadline> &rows)
{
    const ExportTexts texts = ExportTexts::fromTextTable([](int id) { return Texts::text(id); });
    const QString target = askSaveTarget(Session::AppTitle + QStringLiteral(" - ") + Texts::text(2502),
                                         Texts::text(2503), QStringLiteral("ics"));
    if (target.isEmpty())
        return;
    const QDateTime stamp = QDateTime::currentDateTimeUtc();
    SafeFileWriter writer(target);
    if (!writer.write([&](QIODevice &device) { return writeCalendar(device, rows, texts, stamp); }))
        reportUnwritten(writer);
}
