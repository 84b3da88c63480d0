#include "ExportTestTexts.h"

#include "../support/Announcements.h"
#include "../support/TestDatabase.h"
#include "../support/TestRows.h"
#include "export/TextExport.h"
#include "import/DeadlineImport.h"
#include "import/ImportWrite.h"
#include "store/CounterpartyStore.h"
#include "store/DbError.h"
#include "store/DeadlineStore.h"
#include "store/SheetStore.h"

#include <QScopeGuard>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>

namespace {

const QLocale English(QLocale::English, QLocale::UnitedStates);
const QLocale Italian(QLocale::Italian, QLocale::Italy);
const QLocale German(QLocale::German, QLocale::Germany);

QList<ExportTexts> bothLanguages()
{
    return {exportTextsFor(TableLanguage::Italian), exportTextsFor(TableLanguage::English)};
}

// "line fault detail" of every refusal, to compare in one go.
QStringList refusals(const ImportParse &parse)
{
    QStringList out;
    for (const RefusedLine &r : parse.refused)
        out << QStringLiteral("%1 %2 %3").arg(r.line).arg(int(r.fault)).arg(r.detail).trimmed();
    return out;
}

QString refusal(int line, LineFault fault, const QString &detail = {})
{
    return QStringLiteral("%1 %2 %3").arg(line).arg(int(fault)).arg(detail).trimmed();
}

class ImportDb
{
public:
    ImportDb() : m_connection(copyTemplateTo(m_dir.path())) {}
    const QString &connection() const { return m_connection; }

private:
    QTemporaryDir m_dir;
    QString m_connection;
};

} // namespace

class TestDeadlineImport final : public QObject
{
    Q_OBJECT

private slots:
    // What the list exported comes back into an empty sheet as the same deadlines:
    // types, states, dates, awkward descriptions, amounts, clients by name (one
    // already there, one created with its notes), and the counters as a group.
    void exportRoundTrip()
    {
        for (const auto &[language, locale] : {std::pair(TableLanguage::English, English), std::pair(TableLanguage::Italian, Italian)}) {
            const ExportTexts texts = exportTextsFor(language);
            const QString of = u' ' + texts.counterWord + u' ';
            const QList<ListedDeadline> exported{
                listedDeadline(1, true, QDate(2017, 4, 3), QStringLiteral("Said \"yes\"\tthen\r\nleft"), 1000000,
                       QStringLiteral("Rossi Srl")),
                listedDeadline(-1, false, QDate(2024, 1, 31), QStringLiteral("Rent 1") + of + u'3', 125000,
                       QStringLiteral("Bianchi"), QStringLiteral("tel. 02 1234")),
                listedDeadline(-2, false, QDate(2024, 2, 29), QStringLiteral("Dentist"), 0),
                listedDeadline(-1, false, QDate(2024, 2, 29), QStringLiteral("Rent 2") + of + u'3', 125000,
                       QStringLiteral("Bianchi"), QStringLiteral("tel. 02 1234")),
                listedDeadline(-1, true, QDate(2024, 3, 31), QStringLiteral("Rent 3") + of + u'3', 125000,
                       QStringLiteral("Bianchi"), QStringLiteral("tel. 02 1234")),
                listedDeadline(1, false, QDate(2125, 12, 1), QStringLiteral("Lease 2") + of + u'9', 1, QStringLiteral("Rossi Srl")),
            };
            const QString text = exportText(exported, texts, locale);
            // The dialog proposes the locale the file was written in.
            QCOMPARE(guessExportLocale(text, bothLanguages(), {German, English, Italian}), locale);
            const ImportParse parse = parseExportText(text, bothLanguages(), locale);
            QCOMPARE(refusals(parse), QStringList());
            QCOMPARE(parse.rows.size(), exported.size());
            QCOMPARE(parse.rows[1].line, 4);   // the first record's description spans two lines

            ImportDb db;
            QVERIFY(!db.connection().isEmpty());
            CounterpartyStore(db.connection()).create(QStringLiteral("ROSSI SRL"), {});
            const qint32 sheet = SheetStore(db.connection()).create(QStringLiteral("Imported"));
            QCOMPARE(ImportStore(db.connection()).missingCounterparties(parse.importRows()),
                     QStringList{QStringLiteral("Bianchi")});
            Register changes;
            Announcements heard(changes);
            const ImportStore::Imported imported = writeImport(db.connection(), changes, sheet, parse.importRows());
            QCOMPARE(heard.heard, (QStringList{QStringLiteral("counterparties"), QStringLiteral("deadlines %1").arg(sheet)}));
            QCOMPARE(imported.rowIds.size(), exported.size());
            QCOMPARE(imported.counterpartyIds.size(), 1);
            QCOMPARE(CounterpartyStore(db.connection()).read(imported.counterpartyIds[0]).notes, QStringLiteral("tel. 02 1234"));

            // Read in row-id order, the order the import wrote them.
            const DeadlineColumns stored = DeadlineStore(db.connection()).sheetRows(sheet);
            QCOMPARE(qsizetype(stored.size()), exported.size());
            auto units = [](const std::optional<Currency> &amount) {
                return amount ? amount->units() : DeadlineColumns::Unreadable;
            };
            for (qsizetype i = 0; i < exported.size(); ++i) {
                const ListedDeadline &want = exported[i];
                const size_t got = size_t(i);
                QVERIFY2(std::tuple(stored.rowId[got], stored.type[got], stored.done[got] != 0,
                                    QDate::fromJulianDay(stored.day[got]), stored.amount[got], stored.balance[got],
                                    stored.counterpartyName.at(int(got)).toCaseFolded())
                             == std::tuple(imported.rowIds[i], want.type, want.done, want.date, units(want.amount),
                                           units(want.balance), want.counterpartyName.toCaseFolded()),
                         qPrintable(want.shownDescription));
                if (stored.groupId[got] == 0) {
                    QCOMPARE(stored.description.at(int(got)), want.shownDescription);
                } else {
                    QCOMPARE(stored.description.at(int(got)) + u' ' + QString::number(stored.groupRow[got]) + of
                                 + QString::number(stored.groupSize[got]),
                             want.shownDescription);
                    QCOMPARE(stored.groupId[got], stored.groupId[1]);
                    QCOMPARE(stored.cadence.at(int(got)), QStringLiteral("m"));   // month ends, a month apart
                }
            }
            // A lone member of a recurrence keeps its counter as text.
            QCOMPARE(stored.groupId[5], 0);
            QVERIFY(stored.groupId[1] != 0);
        }
    }

    // The user's mapping and the file's formats: grouped amounts, a sign that makes
    // a debit, no amount an appointment, a type name (any language, any case) that
    // overrides the sign, a time after the day ignored.
    void csvMappingAndFormats()
    {
        const struct { const char *row; QString file; QLocale locale; QString datePattern; QChar separator; } cases[] = {
            {"German, semicolons, grouped amounts", QStringLiteral("Datum;Betrag;Beschreibung;Kunde;Notizen;Typ\r\n" "03.04.2017;1.234,56;Miete;Rossi;\"erste; Rate\";\n" "31.12.2024;-12,5;Strom;;;\n" "29.02.2024;;Zahnarzt;;;\n" "01.01.2025;-7;Rückzahlung;;;Credit\n"), German, QStringLiteral("dd.MM.yyyy"), QChar(u';')},
            {"English, commas, ISO dates", QStringLiteral("Date,Amount,Description,Client,Notes,Type\n" "2017-04-03,\"1,234.56\",Miete,Rossi,\"erste; Rate\",\n" "2024-12-31 10:30,-12.5,Strom,,,\n" "2024-02-29,,Zahnarzt,,,\n" "2025-01-01,-7,Rückzahlung,,,credito\n"), English, QStringLiteral("yyyy-MM-dd"), QChar(u',')},
        };
        for (const auto &[row, file, locale, datePattern, separator] : cases) {
            const auto named = qScopeGuard([row] { if (QTest::currentTestFailed()) qWarning("row: %s", row); });
            QCOMPARE(guessCsvSeparator(file), separator);
            const CsvMapping mapping = guessCsvMapping(csvHeader(file, separator));
            QCOMPARE(QList<int>({mapping.date, mapping.amount, mapping.description, mapping.counterparty, mapping.notes,
                                 mapping.type}),
                     QList<int>({0, 1, 2, 3, 4, 5}));
            const ImportParse parse = parseCsv(file, mapping, {separator, locale, datePattern}, bothLanguages());
            QCOMPARE(refusals(parse), QStringList());
            QCOMPARE(parse.rows.size(), 4);
            const ImportRow &rent = parse.rows[0].row;
            QCOMPARE((QVariantList{rent.date, rent.type, rent.value.units(), rent.description, rent.counterpartyName, rent.notes}),
                     (QVariantList{QDate(2017, 4, 3), 1, 12345600, "Miete", "Rossi", "erste; Rate"}));
            // A debit by its sign, an appointment without amount, a type name over a sign.
            QCOMPARE((QVariantList{parse.rows[1].row.type, parse.rows[1].row.value.units(), parse.rows[1].row.date,
                                   parse.rows[2].row.type, parse.rows[3].row.type, parse.rows[3].row.value.units(),
                                   parse.rows[3].line}),
                     (QVariantList{-1, 125000, QDate(2024, 12, 31), -2, 1, 70000, 5}));
        }
    }

    // Every line that cannot be read is refused with the line it starts on and
    // why; the good lines around it are kept.
    void refusesLinesWithNumberAndReason()
    {
        const ExportTexts en = exportTextsFor(TableLanguage::English);
        QString text = exportText({}, en, English);
        text += QStringLiteral("\"Credit\"\t\"Open\"\t\"4/3/2017\"\t\"two\nlines\"\t\"1\"\t\"1\"\t\"\"\t\"\"\r\n"   // 2-3
                               "\"Gift\"\t\"Open\"\t\"4/3/2017\"\t\"x\"\t\"1\"\t\"1\"\t\"\"\t\"\"\r\n"            // 4
                               "\"Credit\"\t\"Maybe\"\t\"4/3/2017\"\t\"x\"\t\"1\"\t\"1\"\t\"\"\t\"\"\r\n"         // 5
                               "\"Credit\"\t\"Open\"\t\"31/12/2024\"\t\"x\"\t\"1\"\t\"1\"\t\"\"\t\"\"\r\n"        // 6
                               "\"Debit\"\t\"Open\"\t\"4/3/2017\"\t\"x\"\t\"1,5\"\t\"-1,5\"\t\"\"\t\"\"\r\n"      // 7
                               "\"Debit\"\t\"Open\"\t\"4/3/2017\"\t\"x\"\t\"5\"\t\"5\"\t\"\"\t\"\"\r\n"           // 8
                               "\r\n"                                                                       // 9
                               "\"Debit\"\t\"Open\"\t\"4/3/2017\"\t\"x\"\r\n"                               // 10
                               "\"Credit\"\t\"Open\"\t\"4/3/2017\"\t\"x\"\t\"")
            + en.outOfRange + QStringLiteral("\"\t\"1\"\t\"\"\t\"\"\r\n"                                      // 11
                                             "\"Credit\"\t\"Open\"\t\"4/3/2017\"\t\"x\"\t\"-1\"\t\"-1\"\t\"\"\t\"\"\r\n"   // 12
                                             "\"Credit\"\t\"Open\"\t\"4/3/2017\"\t\"never closed\r\n");   // 13
        const ImportParse parse = parseExportText(text, bothLanguages(), English);
        QCOMPARE(refusals(parse), (QStringList{
            refusal(4, LineFault::UnknownType, QStringLiteral("Gift")),
            refusal(5, LineFault::UnknownState, QStringLiteral("Maybe")),
            refusal(6, LineFault::BadDate, QStringLiteral("31/12/2024")),
            refusal(7, LineFault::BadAmount, QStringLiteral("1,5")),
            refusal(8, LineFault::TotalMismatch, QStringLiteral("5")),
            refusal(10, LineFault::FieldCount, QStringLiteral("4")),
            refusal(11, LineFault::AmountOutOfRange),
            refusal(12, LineFault::BadAmount, QStringLiteral("-1")),
            refusal(13, LineFault::UnclosedQuote),
        }));
        QCOMPARE(parse.rows.size(), 1);
        QCOMPARE(parse.rows[0].line, 2);

        // A point in an Italian amount is no decimal separator.
        const ExportTexts it = exportTextsFor(TableLanguage::Italian);
        const QString italian = exportText({}, it, Italian)
            + QStringLiteral("\"Debito\"\t\"Aperta\"\t\"03/04/2017\"\t\"x\"\t\"1.5\"\t\"-1.5\"\t\"\"\t\"\"\r\n");
        QCOMPARE(refusals(parseExportText(italian, bothLanguages(), Italian)),
                 QStringList{refusal(2, LineFault::BadAmount, QStringLiteral("1.5"))});

        // Not an export at all; a CSV with a bad date, amount and type, and a short line.
        QCOMPARE(refusals(parseExportText(QStringLiteral("a\tb\r\n"), bothLanguages(), English)),
                 QStringList{refusal(1, LineFault::NotAnExport)});
        QCOMPARE(detectImportKind(QStringLiteral("x.txt"), text, bothLanguages()), ImportKind::ExportText);
        QCOMPARE(detectImportKind(QStringLiteral("x.csv"), QStringLiteral("Date,Amount\n"), bothLanguages()), ImportKind::Csv);
        const QString csv = QStringLiteral("Date,Amount,Type\n2024-13-01,1,\n2024-01-01,1.23456,\n2024-01-01,1,Gift\n2024-01-01\n"
                                           "2024-01-01,\"12,5\",\n");
        const ImportParse csvParse = parseCsv(csv, {0, -1, 1, 2, -1, -1}, {u',', English, QStringLiteral("yyyy-MM-dd")},
                                              bothLanguages());
        QCOMPARE(refusals(csvParse), (QStringList{
            refusal(2, LineFault::BadDate, QStringLiteral("2024-13-01")),
            refusal(3, LineFault::BadAmount, QStringLiteral("1.23456")),
            refusal(4, LineFault::UnknownType, QStringLiteral("Gift")),
            refusal(5, LineFault::FieldCount, QStringLiteral("1")),
            refusal(6, LineFault::BadAmount, QStringLiteral("12,5")),
        }));
    }

    // Events become open appointments on their day; a repetition with an end
    // becomes a recurrence, one without end and one without start are refused.
    void calendarEvents()
    {
        const QByteArray ics =
            "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Test//EN\r\n"
            "BEGIN:VEVENT\r\nUID:a\r\nDTSTART;VALUE=DATE:20240229\r\nSUMMARY:Dentist\\, Dr. Rossi\r\n"
            "DESCRIPTION:bring the\\ncard\r\nEND:VEVENT\r\n"                                             // 4-9
            "BEGIN:VEVENT\r\nUID:b\r\nDTSTART;VALUE=DATE:20240131\r\nRRULE:FREQ=MONTHLY;COUNT=3;BYMONTHDAY=-1\r\n"
            "SUMMARY:Rent\r\nEND:VEVENT\r\n"                                                           // 10-15
            "BEGIN:VEVENT\r\nUID:c\r\nDTSTART:20240301T100000\r\nRRULE:FREQ=WEEKLY\r\nSUMMARY:Gym\r\nEND:VEVENT\r\n"   // 16
            "BEGIN:VEVENT\r\nUID:d\r\nSUMMARY:No day\r\nEND:VEVENT\r\n"                                 // 22
            "BEGIN:VEVENT\r\nUID:e\r\nDTSTART:20240301T103000\r\nSUMMARY:Long summary th\r\n at folds\r\nEND:VEVENT\r\n"  // 26
            "END:VCALENDAR\r\n";
        const ImportParse parse = parseCalendarEvents(ics);
        QCOMPARE(refusals(parse), (QStringList{refusal(16, LineFault::RepeatsForever), refusal(22, LineFault::NoDate)}));
        QCOMPARE(parse.rows.size(), 5);
        const ImportRow &dentist = parse.rows[0].row;
        QCOMPARE((QVariantList{parse.rows[0].line, dentist.type, dentist.done, dentist.date, dentist.description,
                               dentist.notes, dentist.groupKey}),
                 (QVariantList{4, -2, false, QDate(2024, 2, 29), "Dentist, Dr. Rossi", "bring the\ncard", 0}));
        QList<QDate> rent;
        for (int i = 1; i <= 3; ++i) {
            QCOMPARE(parse.rows[i].row.groupKey, 1);
            QCOMPARE(parse.rows[i].row.groupRow, i);
            QCOMPARE(parse.rows[i].row.groupSize, 3);
            QCOMPARE(parse.rows[i].row.groupType, QChar(u'm'));
            rent << parse.rows[i].row.date;
        }
        QCOMPARE(rent, (QList<QDate>{QDate(2024, 1, 31), QDate(2024, 2, 29), QDate(2024, 3, 31)}));
        QCOMPARE(parse.rows[4].row.description, QStringLiteral("Long summary that folds"));
        QCOMPARE(parse.rows[4].row.date, QDate(2024, 3, 1));
    }

    // The write is one transaction: a row the database refuses halfway leaves no
    // deadline and no created client/supplier behind, and nothing is announced.
    void writeIsAllOrNothing()
    {
        ImportDb db;
        QVERIFY(!db.connection().isEmpty());
        runSql(db.connection(), QStringLiteral("CREATE TRIGGER refuse BEFORE INSERT ON Transactions WHEN NEW.TrDescription = "
                                               "'boom' BEGIN SELECT RAISE(ABORT, 'refused'); END"));
        QList<ImportRow> rows(3);
        for (ImportRow &row : rows) {
            row.date = QDate(2024, 5, 1);
            row.type = 1;
            row.counterpartyName = QStringLiteral("New client");
        }
        rows[0].groupKey = rows[2].groupKey = 1;
        rows[1].description = QStringLiteral("boom");
        Register changes;
        Announcements heard(changes);
        QVERIFY_THROWS_EXCEPTION(DbError, writeImport(db.connection(), changes, 1, rows));
        QCOMPARE(heard.heard, QStringList());
        QVERIFY(CounterpartyStore(db.connection()).list().empty());
        QCOMPARE(DeadlineStore(db.connection()).sheetRows(1).size(), 0);
    }
};

QTEST_GUILESS_MAIN(TestDeadlineImport)
#include "tst_DeadlineImport.moc"
