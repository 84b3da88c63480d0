#include "SampleReport.h"

#include <QFile>
#include <QHash>
#include <QRandomGenerator>
#include <QStringList>
#include <QTextStream>

namespace {

const char *const Clients[] = {
    "Northwind Traders Ltd", "Contoso Pharmaceuticals", "Fabrikam Inc.", "Adventure Works Cycles",
    "Tailspin Toys", "Litware Inc.", "Wide World Importers", "Proseware, Inc.",
    "Alpine Ski House", "Blue Yonder Airlines", "Coho Winery", "Fourth Coffee",
};
const char *const Suppliers[] = {
    "City Power & Light", "Graphic Design Institute", "Lucerne Publishing", "Margie's Travel",
    "Trey Research", "The Phone Company", "Woodgrove Bank", "Humongous Insurance",
};
const char *const Sales[] = {
    "Invoice %1 - consulting services",
    "Invoice %1 - software maintenance",
    "Invoice %1 - installation and training on site",
    "Invoice %1 - spare parts",
    "Balance of invoice %1 after the agreed discount for the early delivery of the second batch",
};
const char *const Costs[] = {
    "Electricity bill", "Telephone and internet", "Insurance premium, company vehicles",
    "Quarterly VAT payment", "Payroll taxes", "Printer lease instalment",
    "Annual licence renewal of the accounting package, including support and the yearly update",
    "Business travel, trade fair in Milan",
};
const char *const Appointments[] = {
    "Meeting with the accountant", "Board meeting", "Service of the delivery van",
    "Call with the bank about the credit line", "Fire safety inspection",
};

template<std::size_t N>
QString pick(const char *const (&list)[N], QRandomGenerator &random)
{
    return QString::fromUtf8(list[random.bounded(int(N))]);
}

} // namespace

QList<ReportDeadline> sampleReportDeadlines(int count, const QDate &today, quint32 seed)
{
    QRandomGenerator random(seed);
    QList<ReportDeadline> deadlines;
    deadlines.reserve(count);
    const QDate start = today.addMonths(-6);
    int invoice = 1;
    qint32 nextGroup = 1;
    while (deadlines.size() < count) {
        const int kind = random.bounded(40);
        ReportDeadline d;
        d.rowId = qint32(deadlines.size()) + 1;
        d.date = start.addDays(random.bounded(540));
        if (kind == 0 && nextGroup <= count / 200 + 1) {
            // A monthly recurrence: the office rent, twelve members.
            const qint32 group = nextGroup++;
            const QDate first(d.date.year(), d.date.month(), 1);
            for (int m = 0; m < 12 && deadlines.size() < count; ++m) {
                ReportDeadline rent;
                rent.rowId = qint32(deadlines.size()) + 1;
                rent.type = -1;
                rent.date = first.addMonths(m);
                rent.description = QStringLiteral("Office rent");
                rent.counterparty = QStringLiteral("Woodgrove Real Estate");
                rent.value = Currency::fromWhole(1850);
                rent.balance = -*rent.value;
                rent.groupId = group;
                rent.groupRow = m + 1;
                rent.groupSize = 12;
                rent.done = rent.date < today.addDays(-10);
                deadlines << rent;
            }
            continue;
        }
        if (kind < 19) {
            d.type = 1;
            d.description = pick(Sales, random).arg(QStringLiteral("%1/%2").arg(d.date.year()).arg(invoice++, 3, 10, QLatin1Char('0')));
            d.counterparty = pick(Clients, random);
            d.value = Currency::fromUnits(qint64(random.bounded(2'000, 90'000)) * 1000 + random.bounded(10) * 1000);
        } else if (kind < 33) {
            d.type = -1;
            d.description = pick(Costs, random);
            d.counterparty = random.bounded(6) == 0 ? QString() : pick(Suppliers, random);
            d.value = Currency::fromUnits(qint64(random.bounded(300, 40'000)) * 1000 + random.bounded(100) * 100);
        } else {
            d.type = -2;
            d.description = pick(Appointments, random);
            d.counterparty = random.bounded(2) == 0 ? QString() : pick(Clients, random);
        }
        d.balance = Currency::fromUnits(d.type == -2 ? 0 : d.value->units() * d.type);
        d.done = d.date < today.addDays(-20) && random.bounded(3) != 0;
        deadlines << d;
    }
    return deadlines;
}

ReportTexts::Lookup sampleReportLookup(const QString &tablePath, const QString &language)
{
    QHash<int, QString> texts;
    QFile file(tablePath);
    if (file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        QTextStream in(&file);
        in.setEncoding(QStringConverter::Utf8);
        const qsizetype column = in.readLine().split(QLatin1Char('\t')).indexOf(language);
        while (!in.atEnd()) {
            const QStringList fields = in.readLine().split(QLatin1Char('\t'));
            if (column > 0)
                texts.insert(fields.value(0).toInt(), fields.value(column));
        }
    }
    return [texts](int id) { return texts.value(id); };
}
