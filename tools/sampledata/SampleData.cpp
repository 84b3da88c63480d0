#include "SampleData.h"

#include "deadlines/RecurrenceDates.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QUuid>
#include <QVariant>

#include <cmath>
#include <vector>

namespace SampleData {
namespace {

const char *const Sheets[] = {"Azienda", "Casa", "Studio"};

const char *const FirstNames[] = {
    "Marco", "Giulia", "Luca", "Francesca", "Alessandro", "Chiara", "Giuseppe", "Elena", "Matteo", "Sara",
    "Niccolò", "Bianca", "Lorenzo", "Federica", "Davide", "Martina", "John", "Emily", "William", "Sarah",
    "James", "Olivia", "Robert", "Charlotte", "Jean", "Amélie", "François", "Hélène", "Jérôme", "Céline",
    "Benoît", "Élodie"};
const char *const Surnames[] = {
    "Rossi", "Bianchi", "Esposito", "Romano", "Colombo", "Ricci", "Marino", "Greco", "Bruno", "Gallo",
    "Conti", "De Luca", "Mancini", "D'Amico", "Lombardi", "Fontana", "Smith", "Johnson", "O'Brien",
    "Taylor", "Brown", "Williams", "Dupont", "Martin", "Lefèvre", "Moreau", "Girard", "Bérenger",
    "Rousseau", "Faure"};
const char *const BusinessWords[] = {
    "Edil", "Tecno", "Idraulica", "Elettro", "Trasporti", "Ferramenta", "Agri", "Info", "Studio",
    "Immobiliare", "Green", "Nord", "Sud", "Alpina", "Adriatica", "Lux", "Digital", "Atlantic", "Riviera",
    "Boulangerie", "Provence", "Cooper", "Harbour", "Bay", "Meridian", "Horizon"};
const char *const BusinessTails[] = {
    "Service", "Sistemi", "Costruzioni", "Forniture", "Consulting", "Logistica", "Impianti", "Group",
    "Solutions", "Trading", "Partners", "Holdings", "Distribution", "Médical", "Bâtiment"};
const char *const LegalForms[] = {"Srl", "S.p.A.", "S.n.c.", "S.a.s.", "Ltd", "LLC", "Inc.", "SARL", "SA", "& Co."};
const char *const Suppliers[] = {
    "Enel Energia S.p.A.", "Telecom Italia", "Poste Italiane", "Agenzia delle Entrate", "INPS",
    "Comune di Milano", "British Gas", "EDF", "Orange SA", "Banca Intesa", "Assicurazioni Generali",
    "Vodafone Ltd", "A2A Energia", "Hera S.p.A.", "Autostrade per l'Italia"};

const char *const CounterpartyNotes[] = {
    "Tel. 02 1234567\nFax 02 7654321",
    "Referente: Sig.ra D'Amico\nOrari: 9-13",
    "Paga a 60 gg \"fine mese\"",
    "Contact:\tJohn O'Neil\tmobile +44 7700 900123",
    "IBAN IT60 X054 2811 1010 0000 0123 456",
    "Chiedere di \"Lucia\" all'amministrazione",
    "Préférer l'e-mail: compta@exemple.fr",
    "Ritardi frequenti nei pagamenti.\r\nSollecitare per telefono.",
    "P.IVA 01234567890 - C.F. RSSMRA80A01F205X",
    "Note:\n- sconto 5% \"pronta cassa\"\n- consegna il giovedì"};

const char *const CreditDescriptions[] = {
    "Fattura n. %1/%2", "Invoice %2-%1", "Canone manutenzione", "Consulenza mensile", "Acconto lavori",
    "Saldo fattura %1", "Rimborso spese", "Affitto locale commerciale", "Facture n° %1", "Royalties %2",
    "Provvigioni trimestre", "Noleggio attrezzatura"};
const char *const DebitDescriptions[] = {
    "Affitto ufficio", "Bolletta luce", "Bolletta gas", "F24 IVA", "Rata mutuo", "Assicurazione auto",
    "Electricity bill", "Leasing dell'auto", "Stipendi", "Contributi INPS", "Fornitura carta e toner",
    "Loyer bureau", "Abbonamento internet", "Tassa rifiuti (TARI)", "Spese condominiali"};
const char *const AppointmentDescriptions[] = {
    "Riunione con il commercialista", "Dentista", "Revisione auto", "Rendez-vous banque",
    "Call with O'Brien", "Rinnovo patente", "Assemblea condominiale", "Tagliando caldaia",
    "Consegna dichiarazione dei redditi", "Meeting \"budget\" annuale"};
const char *const DeadlineNotes[] = {
    "Pagare con bonifico", "Già sollecitato una volta", "Vedi e-mail del cliente",
    "Importo \"IVA inclusa\"", "Portare i documenti:\n- carta d'identità\n- codice fiscale",
    "Conto:\tBanca Intesa", "Rinnovo automatico, disdire entro 30 gg"};

template<typename T, std::size_t N>
const char *pick(QRandomGenerator &rng, T (&list)[N])
{
    return list[rng.bounded(int(N))];
}

struct Db
{
    explicit Db(const QString &path)
        : name(QStringLiteral("sampledata-") + QUuid::createUuid().toString(QUuid::WithoutBraces))
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        if (!db.open())
            throw Error(QStringLiteral("Cannot open %1: %2").arg(path, db.lastError().text()));
    }
    ~Db()
    {
        {
            QSqlDatabase db = QSqlDatabase::database(name, false);
            if (db.isOpen()) {
                db.rollback();   // harmless when the batch was committed
                db.close();
            }
        }
        QSqlDatabase::removeDatabase(name);
    }
    QSqlDatabase database() const { return QSqlDatabase::database(name, false); }
    QString name;
};

void exec(QSqlQuery &query)
{
    if (!query.exec())
        throw Error(query.lastError().text() + QStringLiteral(" in: ") + query.lastQuery());
}

void prepare(QSqlQuery &query, const QString &text)
{
    if (!query.prepare(text))
        throw Error(query.lastError().text() + QStringLiteral(" in: ") + text);
}

qint64 scalarOr(QSqlDatabase db, const QString &text, qint64 fallback)
{
    QSqlQuery q(db);
    if (!q.exec(text))
        throw Error(q.lastError().text() + QStringLiteral(" in: ") + text);
    if (q.next() && !q.value(0).isNull())
        return q.value(0).toLongLong();
    return fallback;
}

QStringList counterpartyNames(QRandomGenerator &rng, int count)
{
    QStringList names;
    QSet<QString> seen;
    for (const char *s : Suppliers) {
        if (names.size() >= count)
            break;
        names << QString::fromUtf8(s);
        seen.insert(names.last());
    }
    int attempts = 0;
    while (names.size() < count && attempts++ < count * 50) {
        QString name;
        switch (rng.bounded(3)) {
        case 0:   // a person
            name = QString::fromUtf8(pick(rng, Surnames)) + QLatin1Char(' ') + QString::fromUtf8(pick(rng, FirstNames));
            break;
        case 1:   // a business built from words
            name = QString::fromUtf8(pick(rng, BusinessWords)) + QString::fromUtf8(pick(rng, BusinessTails)).toLower()
                + QLatin1Char(' ') + QString::fromUtf8(pick(rng, LegalForms));
            break;
        default:   // a family business
            name = QString::fromUtf8(pick(rng, Surnames)) + QLatin1Char(' ')
                + QString::fromUtf8(pick(rng, BusinessTails)) + QLatin1Char(' ') + QString::fromUtf8(pick(rng, LegalForms));
            break;
        }
        if (!seen.contains(name)) {
            seen.insert(name);
            names << name;
        }
    }
    // Unlikely, but the lists above are finite: number the rest.
    for (int i = 1; names.size() < count; ++i)
        names << QStringLiteral("Cliente %1").arg(i);
    return names;
}

// Ten-thousandths, log-uniform between the bounds and rounded to cents.
qint64 randomAmount(QRandomGenerator &rng, double low, double high)
{
    const double value = std::exp(std::log(low) + rng.generateDouble() * (std::log(high) - std::log(low)));
    return qint64(std::llround(value * 100.0)) * 100;
}

QString randomDescription(QRandomGenerator &rng, int type, int year)
{
    const char *pattern = type == 1 ? pick(rng, CreditDescriptions)
        : type == -1 ? pick(rng, DebitDescriptions) : pick(rng, AppointmentDescriptions);
    // %1 an invoice number, %2 the year.
    return QString::fromUtf8(pattern)
        .replace(QLatin1String("%1"), QString::number(rng.bounded(1, 500)))
        .replace(QLatin1String("%2"), QString::number(year));
}

// Cadence position and a plausible run length for it.
std::pair<int, int> randomRecurrence(QRandomGenerator &rng)
{
    static const int weights[RecurrenceDates::CadenceCount] = {3, 8, 5, 40, 8, 12, 4, 8, 12};
    int r = rng.bounded(100);
    int position = 0;
    while (position < RecurrenceDates::CadenceCount - 1 && r >= weights[position]) {
        r -= weights[position];
        ++position;
    }
    static const int maxLength[RecurrenceDates::CadenceCount] = {10, 26, 26, 36, 18, 12, 9, 10, 8};
    return {position, rng.bounded(2, maxLength[position] + 1)};
}

} // namespace

Summary createDatabase(const QString &templatePath, const QString &target, const Options &options, bool overwrite)
{
    if (!QFileInfo::exists(templatePath))
        throw Error(QStringLiteral("Template database not found: %1").arg(templatePath));
    if (QFileInfo::exists(target)) {
        if (!overwrite)
            throw Error(QStringLiteral("%1 exists already (use --force to replace it)").arg(target));
        if (!QFile::remove(target))
            throw Error(QStringLiteral("Cannot remove %1").arg(target));
    }
    if (!QFile::copy(templatePath, target))
        throw Error(QStringLiteral("Cannot copy %1 to %2").arg(templatePath, target));
    QFile::setPermissions(target, QFile::permissions(target) | QFileDevice::WriteOwner);
    return fill(target, options);
}

Summary fill(const QString &databasePath, const Options &options)
{
    QRandomGenerator rng(options.seed);
    const QDate today = options.today.isValid() ? options.today : QDate::currentDate();
    Summary summary;

    Db connection(databasePath);
    QSqlDatabase db = connection.database();
    {
        QSqlQuery pragma(db);
        pragma.exec(QStringLiteral("PRAGMA synchronous=OFF"));
    }
    if (!db.transaction())
        throw Error(db.lastError().text());

    // Sheets: the template's sheet 1 becomes the first one.
    {
        QSqlQuery rename(db);
        prepare(rename, QStringLiteral("UPDATE Dbs SET DbName=? WHERE DbId=1"));
        rename.addBindValue(QString::fromUtf8(Sheets[0]));
        exec(rename);
        QSqlQuery add(db);
        prepare(add, QStringLiteral("INSERT INTO Dbs (DbId, DbName) VALUES (?, ?)"));
        qint64 next = scalarOr(db, QStringLiteral("SELECT Max(DbId) FROM Dbs"), 0) + 1;
        for (std::size_t i = 1; i < std::size(Sheets); ++i) {
            add.bindValue(0, next++);
            add.bindValue(1, QString::fromUtf8(Sheets[i]));
            exec(add);
        }
    }
    std::vector<qint64> sheetIds;
    {
        QSqlQuery q(db);
        if (!q.exec(QStringLiteral("SELECT DbId FROM Dbs ORDER BY DbId")))
            throw Error(q.lastError().text());
        while (q.next())
            sheetIds.push_back(q.value(0).toLongLong());
    }
    summary.sheets = int(sheetIds.size());

    // Counterparties.
    std::vector<qint64> accountIds;
    {
        QSqlQuery add(db);
        prepare(add, QStringLiteral("INSERT INTO Accounts (AcName, AcNotes) VALUES (?, ?)"));
        const QStringList names = counterpartyNames(rng, options.counterparties);
        for (const QString &name : names) {
            add.bindValue(0, name);
            add.bindValue(1, rng.bounded(4) == 0 ? QString::fromUtf8(pick(rng, CounterpartyNotes)) : QString());
            exec(add);
            accountIds.push_back(add.lastInsertId().toLongLong());
        }
        summary.counterparties = int(names.size());
    }

    // Deadlines.
    QSqlQuery add(db);
    prepare(add, QStringLiteral(
        "INSERT INTO Transactions (TrDbId, TrType, TrDone, TrDate, TrDescription, TrAcId, TrValue, TrBalance, "
        "TrGrpType, TrGrpRow, TrGrpMDay, TrNotes, TrGrpId) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    qint64 nextGroup = scalarOr(db, QStringLiteral("SELECT Max(TrGrpId) FROM Transactions"), 0) + 1;
    const QDate earliest = today.addYears(-3);
    const int spanDays = int(earliest.daysTo(today.addYears(2)));

    int written = 0;
    while (written < options.rows) {
        const int typeRoll = rng.bounded(100);
        const int type = typeRoll < 40 ? 1 : typeRoll < 85 ? -1 : -2;
        const qint64 sheet = sheetIds[rng.bounded(100) < options.firstSheetPercent ? 0 : sheetIds.size() > 1 ? 1 + rng.bounded(int(sheetIds.size()) - 1) : 0];
        const bool withAccount = type == -2 ? rng.bounded(2) == 0 : rng.bounded(100) >= 15;
        const qint64 account = withAccount ? accountIds[rng.bounded(int(accountIds.size()))] : 0;
        const qint64 value = type == 1 ? randomAmount(rng, 80, 25000) : type == -1 ? randomAmount(rng, 15, 6000) : 0;
        const QDate first = earliest.addDays(rng.bounded(spanDays));
        const QString notes = rng.bounded(5) == 0 ? QString::fromUtf8(pick(rng, DeadlineNotes)) : QString();

        QList<QDate> dates{first};
        int position = -1;
        if (rng.bounded(100) < 45 && options.rows - written >= 2) {
            const auto [cadence, length] = randomRecurrence(rng);
            position = cadence;
            dates = RecurrenceDates::memberDates(first, cadence, std::min(length, options.rows - written));
        }
        const QString description = randomDescription(rng, type, first.year());
        const bool grouped = dates.size() > 1;
        const qint64 group = grouped ? nextGroup++ : 0;
        const QString code = grouped ? QString(RecurrenceDates::cadenceCode(position)) : QStringLiteral("n");
        for (int k = 0; k < dates.size(); ++k) {
            const QDate date = dates[k];
            // Mostly settled in the past, a few settled ahead of time.
            const bool done = date < today ? rng.bounded(100) < 85 : rng.bounded(100) < 4;
            add.bindValue(0, sheet);
            add.bindValue(1, type);
            add.bindValue(2, done ? 1 : 0);
            add.bindValue(3, date.toString(Qt::ISODate));
            add.bindValue(4, description);
            add.bindValue(5, account);
            add.bindValue(6, value);
            add.bindValue(7, value * (type == -2 ? 0 : type));
            add.bindValue(8, code);
            add.bindValue(9, grouped ? k + 1 : 0);
            add.bindValue(10, grouped ? int(dates.size()) : 0);
            add.bindValue(11, notes);
            add.bindValue(12, group);
            exec(add);
        }
        written += int(dates.size());
        if (grouped)
            ++summary.groups;
    }
    summary.deadlines = written;
    add.finish();

    if (!db.commit())
        throw Error(db.lastError().text());
    return summary;
}

} // namespace SampleData
