// bench_calendar: the calendar column's reads on a 100,000-deadline sheet against
// plain reads of the same rows in the same run: the busy days of six months on
// show (one grouped statement), the same run asked day by day as the calendar's
// own request does, and the upcoming panel filled for a selected month.
// Prints one line per case; not a test, nothing is asserted. Usage:
// bench_calendar [rows] [--no-index] (without the index start-up adds).
#include "../BenchTiming.h"
#include "SampleData.h"

#include "mainwindow/CalendarQueries.h"
#include "mainwindow/UpcomingListPresenter.h"
#include "platform/calendar/MonthCalendarState.h"
#include "platform/grid/GridModel.h"
#include "startup/Session.h"
#include "store/Database.h"
#include "store/DeadlineStore.h"
#include "store/Schema.h"
#include "store/Statements.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <functional>
#include <utility>

namespace {

constexpr qint32 Sheet = 1;

// The statements as SQLite runs them, read straight through QSqlQuery on a fresh
// connection: the floor the program's own reads are held against.
// The store's busy-days statement for each run of days, bound as the store binds it.
int rawBusyRead(const QString &connectionString, const QList<std::pair<QDate, QDate>> &runs)
{
    Connection connection;
    connection.open(connectionString);
    QSqlQuery query(connection.database());
    query.setForwardOnly(true);
    query.prepare(storeStatement(connection.database().driverName(), "busy-days"));
    int rows = 0;
    for (const auto &[first, last] : runs) {
        query.bindValue(QStringLiteral(":sheetId"), Sheet);
        query.bindValue(QStringLiteral(":first"), first.toString(Qt::ISODate));
        query.bindValue(QStringLiteral(":last"), last.toString(Qt::ISODate));
        if (!query.exec())
            throw DbError(-1, QStringLiteral("raw busy-days read failed"));
        while (query.next()) {
            query.value(0);
            ++rows;
        }
        query.finish();
    }
    connection.close();
    return rows;
}

// The store's upcoming statement, bound as the store binds it, every column read.
int rawUpcomingRead(const QString &connectionString, const QDate &first, const QDate &last)
{
    Connection connection;
    connection.open(connectionString);
    QSqlQuery query(connection.database());
    query.setForwardOnly(true);
    query.prepare(storeStatement(connection.database().driverName(), "list-open-between"));
    query.bindValue(QStringLiteral(":sheetId"), Sheet);
    query.bindValue(QStringLiteral(":first"), first.toString(Qt::ISODate));
    query.bindValue(QStringLiteral(":last"), last.toString(Qt::ISODate));
    if (!query.exec())
        throw DbError(-1, QStringLiteral("raw upcoming read failed"));
    int rows = 0;
    while (query.next()) {
        for (int i = 0; i < query.record().count(); ++i)
            query.value(i);
        ++rows;
    }
    connection.close();
    return rows;
}

struct Best
{
    double raw = 0;
    double ms = 0;
};

// Best of five: the first pass also warms the file cache.
Best measure(const std::function<void()> &raw, const std::function<void()> &ours)
{
    Best best {1e12, 1e12};
    for (int pass = 0; pass < 5; ++pass) {
        best.raw = std::min(best.raw, elapsedMs(raw));
        best.ms = std::min(best.ms, elapsedMs(ours));
    }
    return best;
}

void print(QTextStream &out, const char *name, int rows, const Best &best, const QString &extra = {})
{
    out << QStringLiteral("case=%1 rows=%2 raw_ms=%3 ms=%4 ratio=%5%6")
               .arg(QLatin1String(name))
               .arg(rows)
               .arg(best.raw, 0, 'f', 2)
               .arg(best.ms, 0, 'f', 2)
               .arg(best.raw > 0 ? best.ms / best.raw : 0.0, 0, 'f', 2)
               .arg(extra)
        << Qt::endl;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    const int rows = argc > 1 && argv[1][0] != '-' ? QString::fromLocal8Bit(argv[1]).toInt() : 100000;
    const QString templatePath = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("master.gen"));
    const QDate today(2024, 3, 13);

    try {
        QTemporaryDir dir;
        SampleData::Options options;
        options.rows = rows;
        options.seed = 20240313;
        options.today = today;
        options.firstSheetPercent = 100;
        SampleData::createDatabase(templatePath, QDir(dir.path()).filePath(QStringLiteral("orvel2.mdb")), options);
        const QString connectionString = Database::connectionString(dir.path());
        // As start-up leaves every database; without it see --no-index.
        const bool withIndex = !app.arguments().contains(QStringLiteral("--no-index"));
        if (withIndex)
            upgradeSchema(connectionString);

        // Six months on show from this month, as at 1560×960.
        MonthCalendarState calendar(today, Qt::Monday);
        calendar.setMonthCount(6);
        const QDate first = calendar.firstVisibleDate();
        const QDate last = calendar.lastVisibleDate();
        const int days = calendar.visibleDayCount();

        int busyCount = 0;
        const Best busy = measure(
            [&] { rawBusyRead(connectionString, {{first, last}}); },
            [&] {
                Connection connection;
                connection.open(connectionString);
                busyCount = int(CalendarQueries::busyDays(connection, first, last, Sheet).size());
                connection.close();
            });
        print(out, "busy_days", rows, busy, QStringLiteral(" days=%1 busy=%2").arg(days).arg(busyCount));

        QList<std::pair<QDate, QDate>> oneByOne;
        for (int i = 0; i < days; ++i)
            oneByOne.append({first.addDays(i), first.addDays(i)});
        const Best byDay = measure([&] { rawBusyRead(connectionString, oneByOne); },
                                   [&] {
                                       Connection connection;
                                       connection.open(connectionString);
                                       CalendarQueries::busyDaysOneByOne(connection, first, days, Sheet);
                                       connection.close();
                                   });
        print(out, "busy_days_by_day", rows, byDay, QStringLiteral(" days=%1").arg(days));

        // The panel for a selected month, through the grid model and its presenter.
        Session session;
        session.setActiveSheet(Sheet, QStringLiteral("Azienda"));
        UpcomingListPresenter presenter(session);
        const QDate month(2024, 3, 1);
        const QDate monthEnd(2024, 3, 31);
        int listed = 0;
        const Best panel = measure([&] { rawUpcomingRead(connectionString, month, monthEnd); },
                                   [&] {
                                       GridModel grid;
                                       grid.setPresenter(&presenter);
                                       DeadlineStore store(connectionString);
                                       grid.setRecords(
                                           UpcomingListPresenter::records(store.openRowsBetween(Sheet, month, monthEnd)));
                                       listed = grid.rowCount();
                                       // Every shown text, as the panel paints them.
                                       for (int row = 0; row < listed; ++row)
                                           grid.data(grid.index(row, 0));
                                   });
        print(out, "upcoming", rows, panel, QStringLiteral(" listed=%1").arg(listed));
    } catch (const DbError &e) {
        err << "database error " << e.number() << ": " << e.description() << Qt::endl;
        return 1;
    } catch (const SampleData::Error &e) {
        err << e.what() << Qt::endl;
        return 1;
    }
    return 0;
}
