// bench_export: the text and calendar exports of a long list against writing the
// same rows' fields, joined by tabs and unformatted, to a file in the same run.
// Prints one line per case; not a test, nothing is asserted.
#include "export/CalendarExport.h"
#include "export/ExportTexts.h"
#include "export/SafeFileWriter.h"
#include "export/TextExport.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <functional>

namespace {

// A list as a user with years of deadlines has it: sorted by date, a third of the
// rows in recurrences, most with a client/supplier, accents and the odd quote.
QList<ListedDeadline> sampleList(int count, bool allOpen)
{
    static const QStringList descriptions{
        QStringLiteral("Affitto ufficio"), QStringLiteral("Fattura n. 1042 \"urgente\""),
        QStringLiteral("Rata leasing auto"), QStringLiteral("Caffè e forniture"),
        QStringLiteral("Assicurazione RC – polizza 77/B"), QStringLiteral("Consulenza fiscale"),
        QStringLiteral("Électricité; acompte"), QStringLiteral("Dentista"),
    };
    static const QStringList notes{QString(), QString(), QStringLiteral("Pagare con bonifico\nIBAN in fattura"),
                                   QStringLiteral("tel. 02 1234 5678")};
    quint32 seed = 20170501;
    auto next = [&seed](quint32 range) {
        seed = seed * 1664525u + 1013904223u;
        return (seed >> 8) % range;
    };
    QList<ListedDeadline> rows;
    rows.reserve(count);
    const QDate first(2015, 1, 1);
    for (int i = 0; i < count; ++i) {
        ListedDeadline row;
        row.rowId = i + 1;
        row.sheetId = 1;
        row.type = std::array{1, -1, -1, -2}[next(4)];
        row.done = allOpen ? false : next(10) < 6;
        row.date = first.addDays(qint64(i) * 3650 / count);
        row.description = descriptions.at(next(descriptions.size()));
        if (next(3) == 0) {
            row.groupId = 1 + i / 12;
            row.groupRow = 1 + i % 12;
            row.groupSize = 12;
            row.shownDescription = QStringLiteral("%1 %2 of %3").arg(row.description).arg(row.groupRow).arg(row.groupSize);
        } else {
            row.shownDescription = row.description;
        }
        row.amount = row.type == -2 ? Currency() : Currency::fromUnits(qint64(next(5000000)) * 100);
        row.balance = Currency::fromUnits(row.amount->units() * (row.type == -2 ? 0 : row.type));
        if (next(5) != 0) {
            row.counterpartyName = QStringLiteral("Cliente %1 S.r.l.").arg(next(300));
            row.counterpartyNotes = notes.at(next(notes.size()));
        }
        row.notes = notes.at(next(notes.size()));
        rows << row;
    }
    return rows;
}

// The floor: every field of every row as it is held, numbers as plain integers,
// tabs between, encoded and written with a plain file.
void writeRaw(const QList<ListedDeadline> &rows, const QString &path)
{
    QString text;
    text.reserve(rows.size() * 128);
    const QChar tab = u'\t';
    for (const ListedDeadline &row : rows) {
        text += QString::number(row.type);
        text += tab;
        text += row.done ? u'1' : u'0';
        text += tab;
        text += QString::number(row.date.toJulianDay());
        text += tab;
        text += row.shownDescription;
        text += tab;
        text += QString::number(row.amount->units());
        text += tab;
        text += QString::number(row.balance->units());
        text += tab;
        text += row.counterpartyName;
        text += tab;
        text += row.counterpartyNotes;
        text += u'\n';
    }
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(text.toUtf8());
}

double bestMs(const std::function<void()> &work)
{
    double best = 0;
    for (int pass = 0; pass < 5; ++pass) {
        QElapsedTimer timer;
        timer.start();
        work();
        const double ms = double(timer.nsecsElapsed()) / 1e6;
        best = pass == 0 ? ms : std::min(best, ms);
    }
    return best;
}

ExportTexts englishTexts()
{
    ExportTexts texts;
    texts.captions = {QStringLiteral("Type"), QStringLiteral("Done"), QStringLiteral("Date"),
                      QStringLiteral("Description"), QStringLiteral("Amount"), QStringLiteral("Total"),
                      QStringLiteral("Client/Supplier"), QStringLiteral("Client/Supplier Notes")};
    texts.credit = QStringLiteral("Credit");
    texts.debit = QStringLiteral("Debit");
    texts.appointment = QStringLiteral("Expiry Date");
    texts.closed = QStringLiteral("Past");
    texts.open = QStringLiteral("Open");
    texts.counterWord = QStringLiteral("of");
    return texts;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    // bench_export [rows [case]]: one case alone is easier to profile.
    const int count = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 100000;
    const QString only = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString();
    const QLocale locale(QLocale::Italian, QLocale::Italy);
    const ExportTexts texts = englishTexts();
    const QDateTime stamp(QDate(2024, 2, 29), QTime(10, 30), Qt::UTC);
    QTemporaryDir dir;
    const QString rawPath = dir.filePath(QStringLiteral("raw.txt"));

    auto report = [&out, count](const char *name, double raw, double ms) {
        out << QStringLiteral("case=%1 rows=%2 raw_ms=%3 ms=%4 ratio=%5")
                   .arg(QLatin1String(name))
                   .arg(count)
                   .arg(raw, 0, 'f', 1)
                   .arg(ms, 0, 'f', 1)
                   .arg(raw > 0 ? ms / raw : 0.0, 0, 'f', 2)
            << Qt::endl;
    };

    if (only.isEmpty() || only == u"export_text") {
    const QList<ListedDeadline> list = sampleList(count, false);
    const QString textPath = dir.filePath(QStringLiteral("export.txt"));
    const double textRaw = bestMs([&] { writeRaw(list, rawPath); });
    const double text = bestMs([&] {
        SafeFileWriter writer(textPath);
        if (!writer.write(encodeExportText(exportText(list, texts, locale))))
            qFatal("%s", qPrintable(writer.errorText()));
    });
    report("export_text", textRaw, text);
    }
    if (only.isEmpty() || only == u"export_ics") {
    // The calendar holds open deadlines only: measure a list of open ones so that
    // both sides handle every row.
    const QList<ListedDeadline> open = sampleList(count, true);
    const QString icsPath = dir.filePath(QStringLiteral("export.ics"));
    const double icsRaw = bestMs([&] { writeRaw(open, rawPath); });
    const double ics = bestMs([&] {
        SafeFileWriter writer(icsPath);
        if (!writer.write([&](QIODevice &device) { return writeCalendar(device, open, texts, stamp, locale); }))
            qFatal("%s", qPrintable(writer.errorText()));
    });
    report("export_ics", icsRaw, ics);
    }
    return 0;
}
