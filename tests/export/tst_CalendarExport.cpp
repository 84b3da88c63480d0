#include "ExportTestTexts.h"

#include "export/CalendarExport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QDateTime Stamp(QDate(2024, 2, 29), QTime(10, 30), Qt::UTC);

ListedDeadline deadline(qint32 sheet, qint32 rowId, int type, bool done, const QDate &date, const QString &description,
                        qint64 amountUnits)
{
    ListedDeadline row;
    row.sheetId = sheet;
    row.rowId = rowId;
    row.type = type;
    row.done = done;
    row.date = date;
    row.description = description;
    row.shownDescription = description;
    row.amount = Currency::fromUnits(amountUnits);
    row.balance = Currency::fromUnits(amountUnits * (type == -2 ? 0 : type));
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
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(ics) != ics.size())
        return {};
    file.close();
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

} // namespace

class TestCalendarExport final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY2(!QStringLiteral(ORVEL_ICS_PYTHON).isEmpty(),
                 "no python3 with the icalendar package; scripts/setup installs python3-icalendar");
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
};

QTEST_GUILESS_MAIN(TestCalendarExport)
#include "tst_CalendarExport.moc"
