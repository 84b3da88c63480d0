#include "ExportTestTexts.h"

#include "export/TextExport.h"

#include <QStringDecoder>
#include <QtTest>

#include <limits>

namespace {

ListedDeadline deadline(int type, bool done, const QDate &date, const QString &shown, qint64 amountUnits,
                        const QString &counterparty = {}, const QString &counterpartyNotes = {})
{
    ListedDeadline row;
    row.type = type;
    row.done = done;
    row.date = date;
    row.shownDescription = shown;
    row.description = shown;
    row.amount = Currency::fromUnits(amountUnits);
    row.balance = Currency::fromUnits(amountUnits * (type == -2 ? 0 : type));
    row.counterpartyName = counterparty;
    row.counterpartyNotes = counterpartyNotes;
    return row;
}

// Everything after the header line.
QString bodyOf(const QString &text)
{
    return text.mid(text.indexOf(QStringLiteral("\r\n")) + 2);
}

const QLocale English(QLocale::English, QLocale::UnitedStates);
const QLocale Italian(QLocale::Italian, QLocale::Italy);

} // namespace

class TestTextExport final : public QObject
{
    Q_OBJECT

private slots:
    // Type and state names in the user's language, the short date with all four year
    // digits, amount and signed total, and two empty quoted fields without a
    // client/supplier; every line ends in CR LF, the last one too. An empty list
    // writes the header alone.
    void writesHeaderThenOneQuotedLinePerDeadline()
    {
        const QString header =
            QStringLiteral("Type\tDone\tDate\tDescription\tAmount\tTotal\tClient/Supplier\tClient/Supplier Notes\r\n");
        const QList<ListedDeadline> rows{
            deadline(1, true, QDate(2017, 4, 3), QStringLiteral("Rent 3 of 12"), 1000000, QStringLiteral("Rossi Srl"),
                     QStringLiteral("tel. 02 1234")),
            deadline(-1, false, QDate(2024, 12, 31), QStringLiteral("Electricity"), 1000000),
            deadline(-2, false, QDate(2024, 2, 29), QStringLiteral("Dentist"), 0),
            deadline(-1, true, QDate(2125, 1, 1), QStringLiteral("Lease"), 125000, QStringLiteral("Bianchi")),
        };
        const ExportTexts texts = exportTextsFor(TableLanguage::English);
        QCOMPARE(exportText(rows, texts, English),
                 header
                     + "\"Credit\"\t\"Past\"\t\"4/3/2017\"\t\"Rent 3 of 12\"\t\"100\"\t\"100\"\t\"Rossi Srl\"\t\"tel. 02 1234\"\r\n"
                       "\"Debit\"\t\"Open\"\t\"12/31/2024\"\t\"Electricity\"\t\"100\"\t\"-100\"\t\"\"\t\"\"\r\n"
                       "\"Expiry Date\"\t\"Open\"\t\"2/29/2024\"\t\"Dentist\"\t\"0\"\t\"0\"\t\"\"\t\"\"\r\n"
                       "\"Debit\"\t\"Past\"\t\"1/1/2125\"\t\"Lease\"\t\"12.5\"\t\"-12.5\"\t\"Bianchi\"\t\"\"\r\n");
        QCOMPARE(exportText({}, texts, English), header);
    }

    void keepsFieldsWhole_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("quoted");
        QTest::newRow("quotes doubled") << "12\" pipe \"Ferro\"" << "\"12\"\" pipe \"\"Ferro\"\"\"";
        QTest::newRow("tab kept") << "left\tright" << "\"left\tright\"";
        QTest::newRow("line breaks kept") << "one\r\ntwo\nthree" << "\"one\r\ntwo\nthree\"";
        QTest::newRow("empty") << "" << "\"\"";
    }

    // A value with quotes, tabs or line breaks must come back as one field when a
    // spreadsheet reads the line: quotes doubled, everything else as it is.
    void keepsFieldsWhole()
    {
        QFETCH(QString, value);
        QFETCH(QString, quoted);
        const QList<ListedDeadline> rows{deadline(1, false, QDate(2017, 4, 3), value, 10000, value, value)};
        const QString text = exportText(rows, exportTextsFor(TableLanguage::English), English);
        QCOMPARE(bodyOf(text), "\"Credit\"\t\"Open\"\t\"4/3/2017\"\t" + quoted + "\t\"1\"\t\"1\"\t" + quoted + u'\t'
                                   + quoted + "\r\n");
    }

    // Amounts exact and without grouping; dates with all four year digits, in the
    // locale's order.
    void amountsAndDatesInTheLocale_data()
    {
        QTest::addColumn<qint64>("units");
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("amount");
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QString>("dateText");
        const QLocale german(QLocale::German, QLocale::Germany);
        const auto row = [](const char *name, qint64 units, const QLocale &locale, const QString &amount,
                            const QDate &date = QDate(2017, 4, 3), const QString &dateText = QString()) {
            QTest::newRow(name) << units << locale << amount << date << dateText;
        };
        row("ten-thousandth", 1, Italian, "0,0001", QDate(2017, 4, 3), "03/04/2017");
        row("largest", std::numeric_limits<qint64>::max(), English, "922337203685477.5807");
        row("smallest", std::numeric_limits<qint64>::min(), Italian, "-922337203685477,5808");
        row("no grouping, German date", 12345670000, german, "1234567", QDate(2124, 12, 31), "31.12.2124");
        row("Swiss point", 10500, QLocale(QLocale::German, QLocale::Switzerland), "1.05");
        // Spreadsheets read the ASCII minus in every locale; some locales' own
        // minus sign (U+2212) they would take for text.
        row("Swedish minus", -5000, QLocale(QLocale::Swedish, QLocale::Sweden), "-0,5");
        row("Japanese date", 0, QLocale(QLocale::Japanese, QLocale::Japan), "0", QDate(2017, 4, 3), "2017/04/03");
    }

    void amountsAndDatesInTheLocale()
    {
        QFETCH(qint64, units);
        QFETCH(QLocale, locale);
        QFETCH(QString, amount);
        QFETCH(QDate, date);
        QFETCH(QString, dateText);
        QCOMPARE(generalNumberText(Currency::fromUnits(units), locale), amount);
        const QStringList fields = bodyOf(exportText({deadline(1, false, date, QStringLiteral("x"), units)},
                                                     exportTextsFor(TableLanguage::English), locale))
                                       .split(u'\t');
        QCOMPARE(fields.value(4), u'"' + amount + u'"');
        if (!dateText.isEmpty())
            QCOMPARE(fields.value(2), u'"' + dateText + u'"');
    }

    // Accents survive in the system's encoding: what the system decodes is what the
    // list held. Qt takes UTF-8 as the system encoding on every Unix; other
    // encodings can still be asked for explicitly.
    void encodesAccents()
    {
        const QString description = QStringLiteral("Caffè Società – Müller € ½");
        const QString text = exportText({deadline(-1, false, QDate(2017, 4, 3), description, 10000)},
                                        exportTextsFor(TableLanguage::Italian), Italian);
        const QByteArray bytes = encodeExportText(text);
        QStringDecoder decoder(QStringConverter::System);
        QCOMPARE(QString(decoder.decode(bytes)), text);
        QVERIFY(!decoder.hasError());
#ifdef Q_OS_UNIX
        QVERIFY(bytes.contains("\"Caff\xc3\xa8 Societ\xc3\xa0 \xe2\x80\x93 M\xc3\xbcller \xe2\x82\xac \xc2\xbd\""));
#endif
        const QByteArray latin1 = encodeExportText(QStringLiteral("\"Caffè Società\"\r\n"), QStringConverter::Latin1);
        QCOMPARE(latin1, QByteArray("\"Caff\xe8 Societ\xe0\"\r\n"));
    }
};

QTEST_GUILESS_MAIN(TestTextExport)
#include "tst_TextExport.moc"
