// bench_aging: the aging per client/supplier of a 100,000-deadline sheet (the
// store's read of the open credits and debits, then the buckets in exact money)
// against one grouped SQL query that buckets the same rows inside SQLite, run
// through the C API in the same run. Prints one line; not a test, nothing is
// asserted beyond the two agreeing on the total. Usage: bench_aging [rows].
#include "../BenchTiming.h"
#include "SampleData.h"

#include "reports/Aging.h"
#include "store/AgingStore.h"
#include "store/Database.h"
#include "store/DbError.h"
#include "store/Schema.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTextStream>

#include <sqlite3.h>

#include <algorithm>
#include <functional>

namespace {

constexpr qint32 Sheet = 1;

// The same buckets as one grouped statement: days overdue from julianday().
constexpr char GroupedSql[] =
    "SELECT TrType, Accounts.AcId, AcName,"
    " SUM(CASE WHEN d <= 0 THEN TrBalance ELSE 0 END),"
    " SUM(CASE WHEN d BETWEEN 1 AND 30 THEN TrBalance ELSE 0 END),"
    " SUM(CASE WHEN d BETWEEN 31 AND 60 THEN TrBalance ELSE 0 END),"
    " SUM(CASE WHEN d BETWEEN 61 AND 90 THEN TrBalance ELSE 0 END),"
    " SUM(CASE WHEN d > 90 THEN TrBalance ELSE 0 END),"
    " SUM(TrBalance), MIN(TrDate)"
    " FROM (SELECT TrType, TrAcId, TrBalance, TrDate, julianday(?2) - julianday(TrDate) AS d"
    "       FROM Transactions WHERE TrDbId = ?1 AND TrDone = 0 AND TrType IN (1, -1))"
    " LEFT JOIN Accounts ON TrAcId = Accounts.AcId"
    " GROUP BY TrType, Accounts.AcId";

struct Grouped
{
    int groups = 0;
    sqlite3_int64 total = 0;   // of the balances, signed as stored
};

Grouped groupedRead(const QString &file, const QDate &today)
{
    sqlite3 *db = nullptr;
    if (sqlite3_open_v2(file.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK)
        throw DbError(-1, QStringLiteral("cannot open the file"));
    sqlite3_stmt *statement = nullptr;
    if (sqlite3_prepare_v2(db, GroupedSql, -1, &statement, nullptr) != SQLITE_OK) {
        const QString reason = QString::fromUtf8(sqlite3_errmsg(db));
        sqlite3_close(db);
        throw DbError(-1, reason);
    }
    const QByteArray day = today.toString(Qt::ISODate).toLatin1();
    sqlite3_bind_int(statement, 1, Sheet);
    sqlite3_bind_text(statement, 2, day.constData(), int(day.size()), SQLITE_TRANSIENT);
    Grouped grouped;
    while (sqlite3_step(statement) == SQLITE_ROW) {
        for (int c = 0; c < 3; ++c)
            sqlite3_column_value(statement, c);
        sqlite3_column_text(statement, 2);
        for (int c = 3; c < 8; ++c)
            sqlite3_column_int64(statement, c);
        grouped.total += sqlite3_column_int64(statement, 8);
        sqlite3_column_text(statement, 9);
        ++grouped.groups;
    }
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return grouped;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    const int rows = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 100000;
    const QString templatePath = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("master.gen"));
    const QDate today(2024, 3, 13);

    try {
        QTemporaryDir dir;
        const QString file = QDir(dir.path()).filePath(QStringLiteral("orvel2.mdb"));
        SampleData::Options options;
        options.rows = rows;
        options.seed = 20240313;
        options.today = today;
        options.firstSheetPercent = 100;
        SampleData::createDatabase(templatePath, file, options);
        const QString connectionString = Database::connectionString(dir.path());
        upgradeSchema(connectionString);

        // Best of five, each side on a connection of its own; the first pass
        // also warms the file cache.
        double raw = 1e12;
        double ms = 1e12;
        Grouped grouped;
        Aging aging;
        for (int pass = 0; pass < 5; ++pass) {
            raw = std::min(raw, elapsedMs([&] { grouped = groupedRead(file, today); }));
            ms = std::min(ms, elapsedMs([&] {
                aging = computeAging(AgingStore(connectionString).openAmounts(Sheet), today);
            }));
        }
        const __int128 ours = aging.credits.totals.total.units() - aging.debits.totals.total.units();
        const bool same = ours == __int128(grouped.total)
            && grouped.groups == aging.credits.rows.size() + aging.debits.rows.size();
        out << QStringLiteral("case=aging rows=%1 raw_ms=%2 ms=%3 ratio=%4 groups=%5 same=%6")
                   .arg(rows)
                   .arg(raw, 0, 'f', 2)
                   .arg(ms, 0, 'f', 2)
                   .arg(raw > 0 ? ms / raw : 0.0, 0, 'f', 2)
                   .arg(grouped.groups)
                   .arg(same ? QStringLiteral("yes") : QStringLiteral("no"))
            << Qt::endl;
    } catch (const DbError &e) {
        err << "database error " << e.number() << ": " << e.description() << Qt::endl;
        return 1;
    } catch (const SampleData::Error &e) {
        err << e.what() << Qt::endl;
        return 1;
    }
    return 0;
}
