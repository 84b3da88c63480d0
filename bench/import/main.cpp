// bench_import: reading back a 100,000-line export of the list and storing it in
// an empty register, against inserting the same rows with one prepared statement
// in one transaction through SQLite's C API, each into a fresh copy of the
// template. Prints one line; not a test, nothing is asserted.
#include "export/ExportTexts.h"
#include "export/TextExport.h"
#include "import/DeadlineImport.h"
#include "startup/Language.h"
#include "startup/Texts.h"
#include "store/Connection.h"
#include "store/Database.h"
#include "store/ImportStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QTemporaryDir>
#include <QTextStream>

#include <sqlite3.h>

#include <algorithm>
#include <array>

namespace {

// A list as a user with years of deadlines has it: sorted by date, a third of the
// rows in recurrences of twelve, most with a client/supplier, accents and quotes.
QList<ListedDeadline> sampleList(int count, const QString &counterWord)
{
    static const QStringList descriptions{
        QStringLiteral("Affitto ufficio"), QStringLiteral("Fattura n. 1042 \"urgente\""),
        QStringLiteral("Rata leasing auto"), QStringLiteral("Caffè e forniture"),
        QStringLiteral("Assicurazione RC – polizza 77/B"), QStringLiteral("Consulenza\tfiscale"),
        QStringLiteral("Électricité; acompte\r\nsecondo rigo"), QStringLiteral("Dentista"),
    };
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
        row.type = std::array{1, -1, -1, -2}[next(4)];
        row.done = next(10) < 6;
        row.date = first.addDays(qint64(i) * 3650 / count);
        row.description = descriptions.at(next(descriptions.size()));
        row.shownDescription = row.description;
        if (next(3) == 0)
            row.shownDescription += QStringLiteral(" %1 %2 12").arg(1 + next(12)).arg(counterWord);
        row.amount = row.type == -2 ? Currency() : Currency::fromUnits(qint64(next(5000000)) * 100);
        row.balance = Currency::fromUnits(row.amount->units() * (row.type == -2 ? 0 : row.type));
        if (next(5) != 0) {
            row.counterpartyName = QStringLiteral("Cliente %1 S.r.l.").arg(next(300));
            row.counterpartyNotes = QStringLiteral("tel. 02 1234 5678");
        }
        rows << row;
    }
    return rows;
}

QString freshCopy(const QString &folder, const QString &name)
{
    const QString target = QDir(folder).filePath(name);
    QFile::remove(target);
    QFile::copy(QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("master.gen")), target);
    QFile::setPermissions(target, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    return target;
}

// The floor: the rows already read, the clients already numbered, bound by
// position into one prepared insert inside one transaction.
void insertRaw(const QString &path, const QList<ImportRow> &rows)
{
    sqlite3 *db = nullptr;
    sqlite3_open(path.toUtf8().constData(), &db);
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    QHash<QString, qint64> ids;
    sqlite3_stmt *account = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO Accounts (AcName, AcNotes) VALUES (?, ?)", -1, &account, nullptr);
    sqlite3_stmt *insert = nullptr;
    sqlite3_prepare_v2(db,
                       "INSERT INTO Transactions (TrDbId, TrType, TrDone, TrDate, TrDescription, TrNotes, TrAcId, TrValue, "
                       "TrBalance, TrGrpType, TrGrpRow, TrGrpMDay, TrGrpId) VALUES (1, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
                       -1, &insert, nullptr);
    for (const ImportRow &row : rows) {
        qint64 acId = 0;
        if (!row.counterpartyName.isEmpty()) {
            auto found = ids.constFind(row.counterpartyName);
            if (found == ids.constEnd()) {
                sqlite3_reset(account);
                sqlite3_bind_text16(account, 1, row.counterpartyName.utf16(), int(row.counterpartyName.size() * 2), SQLITE_TRANSIENT);
                sqlite3_bind_text16(account, 2, row.counterpartyNotes.utf16(), int(row.counterpartyNotes.size() * 2), SQLITE_TRANSIENT);
                sqlite3_step(account);
                found = ids.insert(row.counterpartyName, sqlite3_last_insert_rowid(db));
            }
            acId = found.value();
        }
        sqlite3_reset(insert);
        sqlite3_bind_int(insert, 1, row.type);
        sqlite3_bind_int(insert, 2, row.done);
        const QByteArray date = row.date.toString(Qt::ISODate).toLatin1();
        sqlite3_bind_text(insert, 3, date.constData(), int(date.size()), SQLITE_TRANSIENT);
        sqlite3_bind_text16(insert, 4, row.description.utf16(), int(row.description.size() * 2), SQLITE_TRANSIENT);
        sqlite3_bind_text16(insert, 5, row.notes.utf16(), int(row.notes.size() * 2), SQLITE_TRANSIENT);
        sqlite3_bind_int64(insert, 6, acId);
        sqlite3_bind_int64(insert, 7, row.value.units());
        sqlite3_bind_int64(insert, 8, row.value.units() * (row.type == -2 ? 0 : row.type));
        const char16_t code = row.groupType.unicode();
        sqlite3_bind_text16(insert, 9, &code, 2, SQLITE_TRANSIENT);
        sqlite3_bind_int(insert, 10, row.groupRow);
        sqlite3_bind_int(insert, 11, row.groupSize);
        sqlite3_bind_int(insert, 12, row.groupKey);
        sqlite3_step(insert);
    }
    sqlite3_finalize(account);
    sqlite3_finalize(insert);
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(db);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int count = 100000;
    Texts::setLanguage(Language::English);
    QList<ExportTexts> languages;
    for (Language language : {Language::Italian, Language::English, Language::French, Language::Spanish, Language::German})
        languages.append(ExportTexts::fromTextTable([language](int id) { return Texts::text(id, language); }));
    const ExportTexts &english = languages[1];
    const QLocale locale(QLocale::English, QLocale::UnitedStates);
    const QByteArray file = encodeExportText(exportText(sampleList(count, english.counterWord), english, locale));
    QTemporaryDir dir;
    QTextStream out(stdout);

    // Each side measured three times, the best kept: the machine is shared.
    qint64 best = -1, bestRaw = -1;
    QList<ImportRow> rows;
    for (int round = 0; round < 3; ++round) {
        const QString ours = freshCopy(dir.path(), QStringLiteral("orvel2.mdb"));
        QElapsedTimer timer;
        timer.start();
        ImportOptions options;
        options.format.locale = locale;
        const ImportParse parse = parseImport(file, options, languages);
        rows = parse.importRows();
        ImportStore(Database::connectionString(QDir::toNativeSeparators(dir.path()))).importRows(1, rows);
        const qint64 ms = timer.elapsed();
        best = best < 0 ? ms : std::min(best, ms);

        const QString raw = freshCopy(dir.path(), QStringLiteral("raw.mdb"));
        timer.restart();
        insertRaw(raw, rows);
        const qint64 rawMs = timer.elapsed();
        bestRaw = bestRaw < 0 ? rawMs : std::min(bestRaw, rawMs);
    }
    out << QStringLiteral("case=import_text rows=%1 raw_ms=%2 ms=%3 ratio=%4\n")
               .arg(rows.size())
               .arg(bestRaw)
               .arg(best)
               .arg(double(best) / double(std::max<qint64>(bestRaw, 1)), 0, 'f', 2);
    return 0;
}
