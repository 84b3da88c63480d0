#include "ExportTestTexts.h"

#include "../support/ScopedFileSizeLimit.h"
#include "../support/TestDatabase.h"
#include "export/CalendarExport.h"
#include "export/SafeFileWriter.h"
#include "export/TextExport.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStringDecoder>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Everything after the header line.
QString bodyOf(const QString &text)
{
    return text.mid(text.indexOf(QStringLiteral("\r\n")) + 2);
}

const QLocale English(QLocale::English, QLocale::UnitedStates);
const QLocale Italian(QLocale::Italian, QLocale::Italy);

const QDateTime Stamp(QDate(2024, 2, 29), QTime(10, 30), Qt::UTC);

// A deadline of a sheet, as the calendar export identifies it.
ListedDeadline deadline(qint32 sheet, qint32 rowId, int type, bool done, const QDate &date, const QString &description,
                        qint64 units)
{
    ListedDeadline row = listedDeadline(type, done, date, description, units);
    row.sheetId = sheet;
    row.rowId = rowId;
    return row;
}

// The deadlines of the read-back test: texts with every character iCalendar must
// escape, line breaks of both kinds, text outside Latin-1 and a line long enough to
// be folded; one closed deadline that must not appear.
QList<ListedDeadline> sampleRows()
{
    ListedDeadline rent = deadline(3, 1234, 1, false, QDate(2024, 2, 29), QStringLiteral("Rent"), 12505000);
    rent.shownDescription = QStringLiteral("Rent 3 of 12");
    rent.groupId = 7;
    rent.groupRow = 3;
    rent.groupSize = 12;
    rent.counterpartyName = QStringLiteral("Rossi, Bianchi; & C. \\ sede");
    rent.counterpartyNotes = QStringLiteral("tel. 02 1234");
    rent.notes = QStringLiteral("Line one\nline two, comma; semicolon \\ backslash\r\nafter CR LF\rafter CR\n"
                                "Società – naïve 日本 😀 Società – naïve 日本 😀 Società – naïve 日本 😀 "
                                "Società – naïve 日本 😀");
    ListedDeadline dentist = deadline(3, 1235, -2, false, QDate(2024, 12, 31), QStringLiteral("Dentist, Dr. Müller"), 0);
    ListedDeadline paid = deadline(3, 1236, -1, true, QDate(2024, 3, 1), QStringLiteral("Paid already"), 10000);
    ListedDeadline power = deadline(1, 9, -1, false, QDate(2017, 4, 3), QStringLiteral("Electricity"), 1000000);
    return {rent, dentist, paid, power};
}

QJsonObject readBack(const QByteArray &ics)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("deadlines.ics"));
    if (!writeFile(path, ics))
        return {};
    QProcess python;
    python.start(QStringLiteral(ORVEL_ICS_PYTHON), {QStringLiteral(ORVEL_ICS_DUMP), path});
    if (!python.waitForFinished(60000) || python.exitStatus() != QProcess::NormalExit || python.exitCode() != 0) {
        qWarning("icalendar could not read the file: %s", python.readAllStandardError().constData());
        return {};
    }
    return QJsonDocument::fromJson(python.readAllStandardOutput()).object();
}

QJsonObject expectedEvent(const QString &uid, const QString &start, const QString &end, const QString &summary,
                  const QString &description, const QString &category)
{
    return QJsonObject{{QStringLiteral("uid"), uid},
                       {QStringLiteral("dtstamp"), QStringLiteral("time:2024-02-29T10:30:00+00:00")},
                       {QStringLiteral("dtstart"), start},
                       {QStringLiteral("dtend"), end},
                       {QStringLiteral("summary"), summary},
                       {QStringLiteral("description"), description},
                       {QStringLiteral("categories"), QJsonArray{category}},
                       {QStringLiteral("transp"), QStringLiteral("TRANSPARENT")}};
}

const QString RentNotes = QStringLiteral("Line one\nline two, comma; semicolon \\ backslash\nafter CR LF\nafter CR\n"
                                         "Società – naïve 日本 😀 Società – naïve 日本 😀 Società – naïve 日本 😀 "
                                         "Società – naïve 日本 😀");

mode_t modeOf(const QString &path)
{
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? (info.st_mode & 07777) : mode_t(-1);
}

// Sets the umask for one test and puts the old one back.
class ScopedUmask
{
public:
    explicit ScopedUmask(mode_t mask) : m_saved(::umask(mask)) {}
    ~ScopedUmask() { ::umask(m_saved); }

private:
    mode_t m_saved;
};

} // namespace

// The list as text for spreadsheets, and as calendar events read back by an
// independent parser (Python's icalendar package); the safe write of either file.
class TestTextExport final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY2(!QStringLiteral(ORVEL_ICS_PYTHON).isEmpty(),
                 "no python3 with the icalendar package; scripts/setup installs python3-icalendar");
    }

    // Type and state names in the user's language, the short date with all four year
    // digits, amount and signed total, and two empty quoted fields without a
    // client/supplier; every line ends in CR LF, the last one too. A value with quotes,
    // tabs or line breaks must come back as one field when a spreadsheet reads the
    // line: quotes doubled, everything else as it is. An empty list writes the header alone.
    void writesHeaderThenOneQuotedLinePerDeadline()
    {
        const QString header =
            QStringLiteral("Type\tDone\tDate\tDescription\tAmount\tTotal\tClient/Supplier\tClient/Supplier Notes\r\n");
        const QList<ListedDeadline> rows{
            listedDeadline(1, true, QDate(2017, 4, 3), QStringLiteral("Rent \"3\" of 12"), 1000000,
                           QStringLiteral("Rossi\t\"Srl\""), QStringLiteral("one\r\ntwo\nthree")),
            listedDeadline(-1, false, QDate(2024, 12, 31), QStringLiteral("Electricity"), 1000000),
            listedDeadline(-2, false, QDate(2024, 2, 29), QStringLiteral("Dentist"), 0),
            listedDeadline(-1, true, QDate(2125, 1, 1), QStringLiteral("Lease"), 125000, QStringLiteral("Bianchi")),
        };
        const ExportTexts texts = exportTextsFor(TableLanguage::English);
        QCOMPARE(exportText(rows, texts, English),
                 header
                     + "\"Credit\"\t\"Past\"\t\"4/3/2017\"\t\"Rent \"\"3\"\" of 12\"\t\"100\"\t\"100\"\t\"Rossi\t\"\"Srl\"\"\"\t"
                       "\"one\r\ntwo\nthree\"\r\n"
                       "\"Debit\"\t\"Open\"\t\"12/31/2024\"\t\"Electricity\"\t\"100\"\t\"-100\"\t\"\"\t\"\"\r\n"
                       "\"Expiry Date\"\t\"Open\"\t\"2/29/2024\"\t\"Dentist\"\t\"0\"\t\"0\"\t\"\"\t\"\"\r\n"
                       "\"Debit\"\t\"Past\"\t\"1/1/2125\"\t\"Lease\"\t\"12.5\"\t\"-12.5\"\t\"Bianchi\"\t\"\"\r\n");
        QCOMPARE(exportText({}, texts, English), header);
    }

    // Amounts exact and without grouping; dates with all four year digits, in the
    // locale's order.
    void amountsAndDatesInTheLocale()
    {
        const QLocale german(QLocale::German, QLocale::Germany);
        const auto check = [](qint64 units, const QLocale &locale, const QString &amount,
                              const QDate &date = QDate(2017, 4, 3), const QString &dateText = QString()) {
            QCOMPARE(generalNumberText(Currency::fromUnits(units), locale), amount);
            const QStringList fields = bodyOf(exportText({listedDeadline(1, false, date, QStringLiteral("x"), units)},
                                                         exportTextsFor(TableLanguage::English), locale))
                                           .split(u'\t');
            QCOMPARE(fields.value(4), u'"' + amount + u'"');
            if (!dateText.isEmpty())
                QCOMPARE(fields.value(2), u'"' + dateText + u'"');
        };
        check(1, Italian, "0,0001", QDate(2017, 4, 3), "03/04/2017");   // a ten-thousandth
        check(std::numeric_limits<qint64>::max(), English, "922337203685477.5807");
        check(std::numeric_limits<qint64>::min(), Italian, "-922337203685477,5808");
        check(12345670000, german, "1234567", QDate(2124, 12, 31), "31.12.2124");   // no grouping
        check(10500, QLocale(QLocale::German, QLocale::Switzerland), "1.05");
        // Spreadsheets read the ASCII minus in every locale; some locales' own
        // minus sign (U+2212) they would take for text.
        check(-5000, QLocale(QLocale::Swedish, QLocale::Sweden), "-0,5");
        check(0, QLocale(QLocale::Japanese, QLocale::Japan), "0", QDate(2017, 4, 3), "2017/04/03");
    }

    // Accents survive in the system's encoding: what the system decodes is what the
    // list held. Qt takes UTF-8 as the system encoding on every Unix; other
    // encodings can still be asked for explicitly.
    void encodesAccents()
    {
        const QString description = QStringLiteral("Caffè Società – Müller € ½");
        const QString text = exportText({listedDeadline(-1, false, QDate(2017, 4, 3), description, 10000)},
                                        exportTextsFor(TableLanguage::Italian), Italian);
        const QByteArray bytes = encodeExportText(text);
        QStringDecoder decoder(QStringConverter::System);
        QCOMPARE(QString(decoder.decode(bytes)), text);
        QVERIFY(!decoder.hasError());
        const QByteArray latin1 = encodeExportText(QStringLiteral("\"Caffè Società\"\r\n"), QStringConverter::Latin1);
        QCOMPARE(latin1, QByteArray("\"Caff\xe8 Societ\xe0\"\r\n"));
    }

    // What a calendar program sees: one all-day event per open deadline, in list
    // order, with every text back as it was (line breaks normalised to LF). The
    // file as bytes: CR LF after every line, no line over 75 octets, and folds
    // that never cut a UTF-8 character in two.
    void readsBackAsTheOpenDeadlines()
    {
        // The words around the texts come from the text table; English stands for every language.
        const ExportTexts texts = exportTextsFor(TableLanguage::English);
        const QLocale locale(QLocale::English, QLocale::UnitedStates);
        const QJsonArray expected{
            expectedEvent("orvel2-3-1234@deadlines.orvel2.invalid", "date:2024-02-29", "date:2024-03-01", "Rent 3 of 12",
                          "Amount: $1,250.50\nClient/Supplier: Rossi, Bianchi; & C. \\ sede\n"
                          "Client/Supplier Notes: tel. 02 1234\n\n" + RentNotes, "Credit"),
            expectedEvent("orvel2-3-1235@deadlines.orvel2.invalid", "date:2024-12-31", "date:2025-01-01",
                          "Dentist, Dr. Müller", QString(), "Expiry Date"),
            expectedEvent("orvel2-1-9@deadlines.orvel2.invalid", "date:2017-04-03", "date:2017-04-04", "Electricity",
                          "Amount: $100.00", "Debit")};

        const QByteArray ics = exportCalendar(sampleRows(), texts, Stamp, locale);
        QVERIFY(ics.startsWith("BEGIN:VCALENDAR\r\n"));
        QVERIFY(ics.endsWith("END:VCALENDAR\r\n"));
        int folded = 0;
        for (const QByteArray &line : ics.chopped(1).split('\n')) {
            QVERIFY2(line.endsWith('\r'), line.constData());
            const QByteArray content = line.chopped(1);
            QVERIFY2(!content.contains('\r'), line.constData());
            QVERIFY2(content.size() <= 75, line.constData());
            QStringDecoder utf8(QStringConverter::Utf8);
            (void)utf8.decode(content);
            QVERIFY2(!utf8.hasError(), content.constData());
            folded += content.startsWith(' ') ? 1 : 0;
        }
        QVERIFY(folded > 0);

        const QJsonObject calendar = readBack(ics);
        QCOMPARE(calendar.value(QStringLiteral("name")).toString(), QStringLiteral("VCALENDAR"));
        QCOMPARE(calendar.value(QStringLiteral("version")).toString(), QStringLiteral("2.0"));
        QVERIFY(!calendar.value(QStringLiteral("prodid")).toString().isEmpty());
        const QJsonArray events = calendar.value(QStringLiteral("events")).toArray();
        QCOMPARE(events.size(), expected.size());
        for (qsizetype i = 0; i < events.size(); ++i)
            QCOMPARE(events.at(i).toObject(), expected.at(i).toObject());

        // No open deadline: a calendar without events.
        const QJsonObject empty = readBack(exportCalendar(
            {deadline(1, 5, 1, true, QDate(2024, 1, 2), QStringLiteral("Closed"), 10000)}, texts, Stamp, locale));
        QCOMPARE(empty.value(QStringLiteral("version")).toString(), QStringLiteral("2.0"));
        QCOMPARE(empty.value(QStringLiteral("events")).toArray().size(), 0);
    }

    // Importing a later export must update the same events: the identity cannot
    // change with the texts, the date, the state or the place in the list.
    void uidFollowsTheDeadline()
    {
        const ListedDeadline first = deadline(2, 40, 1, false, QDate(2024, 1, 31), QStringLiteral("Rent"), 10000);
        ListedDeadline edited = first;
        edited.description = QStringLiteral("Rent, garage included");
        edited.date = QDate(2024, 2, 29);
        edited.amount = Currency::fromWhole(999);
        edited.groupId = 3;
        edited.groupRow = 2;
        edited.groupSize = 5;
        QCOMPARE(calendarUid(edited), calendarUid(first));

        ListedDeadline otherRow = first;
        otherRow.rowId = 41;
        ListedDeadline otherSheet = first;
        otherSheet.sheetId = 4;
        ListedDeadline swapped = first;   // sheet 24, row 0 must not read as sheet 2, row 40
        swapped.sheetId = 24;
        swapped.rowId = 0;
        const QSet<QString> uids{calendarUid(first), calendarUid(otherRow), calendarUid(otherSheet),
                                 calendarUid(swapped)};
        QCOMPARE(uids.size(), 4);
    }

    // A new file gets what the user's umask allows; a replaced one keeps the
    // permissions its owner gave it. Either way no temporary stays beside it.
    void writesWithTheRightPermissions()
    {
        // existing: the mode of a file already there; -1 for none
        const struct { const char *row; uint mask; int existing; uint mode; } cases[] = {
            {"new, umask 022", 0022u, -1, 0644u},
            {"new, umask 077", 0077u, -1, 0600u},
            {"replaced keeps its own", 0022u, 0640, 0640u},
        };
        for (const auto &[row, mask, existing, mode] : cases) {
            const auto named = qScopeGuard([row] { if (QTest::currentTestFailed()) qWarning("row: %s", row); });
            QTemporaryDir dir;
            const QString path = dir.filePath(QStringLiteral("export.txt"));
            if (existing >= 0) {
                QVERIFY(writeFile(path, QByteArray(10000, 'o')));
                QCOMPARE(::chmod(QFile::encodeName(path).constData(), mode_t(existing)), 0);
            }
            ScopedUmask umask(mask);
            SafeFileWriter writer(path);
            QVERIFY2(writer.write("Type\tDone\r\n"), qPrintable(writer.errorText()));
            QCOMPARE(fileBytes(path), QByteArray("Type\tDone\r\n"));
            QCOMPARE(uint(modeOf(path)), mode);
            QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"export.txt"});
        }
    }

    void unwritablePlaceLeavesNothingAndSaysWhere()
    {
        // A read-only folder, a missing one, a file where the folder should be, a kernel folder.
        for (const QString folder : {"read-only", "missing/deeper", "plain-file", "/proc"}) {
            QTemporaryDir dir;
            QDir base(dir.path());
            QVERIFY(base.mkdir(QStringLiteral("read-only")));
            QVERIFY(writeFile(base.filePath(QStringLiteral("plain-file")), {}));
            const QString readOnly = base.filePath(QStringLiteral("read-only"));
            QCOMPARE(::chmod(QFile::encodeName(readOnly).constData(), 0555), 0);
            if (folder == u"read-only" && ::access(QFile::encodeName(readOnly).constData(), W_OK) == 0)
                continue;   // this user (root) writes into read-only folders; the kernel folder covers it

            const QString path = QDir(base.filePath(folder)).filePath(QStringLiteral("export.txt"));
            SafeFileWriter writer(path);
            QVERIFY(!writer.write("Type\tDone\r\n"));
            QVERIFY2(writer.errorText().startsWith(QDir::toNativeSeparators(path) + u':'), qPrintable(writer.errorText()));
            QVERIFY2(writer.errorText().size() > path.size() + 3, "the reason is missing");
            QVERIFY(!QFileInfo::exists(path));
            QCOMPARE(QDir(readOnly).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), QStringList());
            QCOMPARE(base.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                     (QStringList{"plain-file", "read-only"}));
            ::chmod(QFile::encodeName(readOnly).constData(), 0755);
        }
    }

    // A disk that fills up anywhere leaves the old file untouched and no
    // half-written temporary beside it, whether the contents came whole or were
    // made while being written.
    void fullDiskKeepsTheOldFile()
    {
        const struct { const char *row; bool streamed; int size; int room; } cases[] = {
            {"bytes", false, 1024 * 1024, 64 * 1024},
            {"streamed", true, 1024 * 1024, 64 * 1024},
            // The disk fills up in the last bytes, still in the device's buffer when
            // the producer is done: only the flush before the rename finds out.
            {"last buffered bytes", false, 27441, 16 * 1024},
            {"last buffered bytes, streamed", true, 27441, 16 * 1024},
        };
        for (const auto &[row, streamed, size, room] : cases) {
            const auto named = qScopeGuard([row] { if (QTest::currentTestFailed()) qWarning("row: %s", row); });
            QTemporaryDir dir;
            const QString path = dir.filePath(QStringLiteral("export.txt"));
            QVERIFY(writeFile(path, "previous export\r\n"));

            SafeFileWriter writer(path);
            bool written = true;
            {
                ScopedFileSizeLimit limit(room);
                const QByteArray contents(size, 'x');
                if (streamed) {
                    written = writer.write([&contents](QIODevice &device) {
                        for (qsizetype at = 0; at < contents.size(); at += 1000) {
                            if (!SafeFileWriter::writeAll(device, QByteArrayView(contents).sliced(at).first(
                                                                      std::min<qsizetype>(1000, contents.size() - at))))
                                return false;
                        }
                        return true;
                    });
                } else {
                    written = writer.write(contents);
                }
            }
            QVERIFY(!written);
            QCOMPARE(writer.errorText(),
                     QDir::toNativeSeparators(path) + QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(EFBIG)));
            QCOMPARE(fileBytes(path), QByteArray("previous export\r\n"));
            QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"export.txt"});
        }
    }

    // The rename that puts the new file in place can fail too (here something else
    // took the name meanwhile): said, and no temporary file stays behind.
    void failedRenameIsToldAndLeavesNoTemporary()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("export.txt"));
        SafeFileWriter writer(path);
        const bool written = writer.write([&path](QIODevice &device) {
            QDir().mkpath(QDir(path).filePath(QStringLiteral("taken")));
            return SafeFileWriter::writeAll(device, "Type\tDone\r\n");
        });
        QVERIFY(!written);
        QVERIFY2(writer.errorText().startsWith(QDir::toNativeSeparators(path) + QStringLiteral(": ")),
                 qPrintable(writer.errorText()));
        QVERIFY2(writer.errorText().size() > path.size() + 3, "the reason is missing");
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                 QStringList{"export.txt"});
        QVERIFY(QFileInfo(path).isDir());
    }
};

QTEST_GUILESS_MAIN(TestTextExport)
#include "tst_TextExport.moc"
