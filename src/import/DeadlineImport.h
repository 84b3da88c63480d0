#pragma once

#include "export/ExportTexts.h"
#include "store/ImportStore.h"

#include <QByteArray>
#include <QList>
#include <QLocale>
#include <QString>
#include <QStringList>

// Reading deadlines from files other programs (or our own export) wrote: the
// list's tab-separated export in any of the five languages, CSV files whose
// columns the user maps, and iCalendar events. Every line that cannot be read is
// refused with its number and why; nothing here touches the database.

enum class ImportKind { ExportText, Csv, Calendar };

// Why a line was refused.
enum class LineFault {
    NotAnExport,      // the header is no export's header in any language
    FieldCount,       // detail: the number of fields found
    UnclosedQuote,    // a quoted field runs to the end of the file
    UnknownType,      // detail: the text
    UnknownState,     // detail: the text
    BadDate,          // detail: the text
    BadAmount,        // detail: the text
    AmountOutOfRange, // the export wrote no amount
    TotalMismatch,    // the total is not the amount with the type's sign
    NoDate,           // an event without a start
    RepeatsForever,   // an event repeating without end
    BadEvent,         // an event libical could not read
};

struct RefusedLine
{
    int line = 0;     // 1-based, the first line of the record
    LineFault fault = LineFault::BadDate;
    QString detail;
};

struct ParsedRow
{
    int line = 0;
    ImportRow row;
};

struct ImportParse
{
    QList<ParsedRow> rows;
    QList<RefusedLine> refused;
    QList<ImportRow> importRows() const;
};

// The file's text: UTF-8 when it is valid UTF-8 (a byte order mark dropped),
// else the system's 8-bit encoding the export of older releases wrote.
QString decodeImportText(const QByteArray &bytes);

// Which reader suits a file: .ics, or a header that is an export's, or CSV.
ImportKind detectImportKind(const QString &fileName, const QString &text, const QList<ExportTexts> &languages);

// The export's format. languages: the texts of every language the header may be
// in; the type and state names are those of the language the header is in.
// locale: the one whose short date and decimal separator the file was written in.
// Recurrence counters ("Rent 3 of 12") make groups again: rows of the same type,
// client/supplier, base description and size whose positions do not repeat.
ImportParse parseExportText(const QString &text, const QList<ExportTexts> &languages, const QLocale &locale);

// Of the candidates, the locale the export was most likely written in: the one
// that reads the most of its first lines. The first candidate on a tie.
QLocale guessExportLocale(const QString &text, const QList<ExportTexts> &languages, const QList<QLocale> &candidates);

// Where each field of a CSV line goes; -1 for a column not in the file.
struct CsvMapping
{
    int date = -1;
    int description = -1;
    int amount = -1;          // a negative amount is a debit, unless type says otherwise
    int type = -1;            // a type name in any language; empty: the amount's sign says
    int counterparty = -1;
    int notes = -1;
};

struct CsvFormat
{
    QChar separator = u',';
    QLocale locale;           // the decimal and group separators of the amounts
    QString datePattern;      // as QDate::fromString reads it
};

// The separator the header line uses most: comma, semicolon or tab.
QChar guessCsvSeparator(const QString &text);
// The header's captions, as the mapping's choices.
QStringList csvHeader(const QString &text, QChar separator);
// A mapping from the captions, where their names say (date, amount, ...).
CsvMapping guessCsvMapping(const QStringList &header);
// The rows after the header. A row without amount is an appointment; rows are
// open. typeNames: the texts of the languages whose type names are accepted.
ImportParse parseCsv(const QString &text, const CsvMapping &mapping, const CsvFormat &format,
                     const QList<ExportTexts> &typeNames);

// The events of an iCalendar file as open appointments on their start day (local
// time), the summary as description and the event's text as notes. An event
// that repeats a known number of times becomes a recurrence.
ImportParse parseCalendarEvents(const QByteArray &bytes);

// Everything the import dialog lets the user choose.
struct ImportOptions
{
    ImportKind kind = ImportKind::ExportText;
    CsvMapping mapping;
    CsvFormat format;         // the export's text reads with format.locale alone
};
// The file's bytes read as options say.
ImportParse parseImport(const QByteArray &bytes, const ImportOptions &options, const QList<ExportTexts> &languages);

// The cadence code that fits the step between two members' dates; 'n' for none.
QChar cadenceBetween(const QDate &first, const QDate &second);
