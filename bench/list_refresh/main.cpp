// bench_list_refresh: how long the main list takes to refresh against a plain
// read of the same rows, for growing sheets and the plain and month layouts.
// Prints one line per case; not a test, nothing is asserted.
#include "SampleData.h"

#include "mainwindow/DeadlineList.h"
#include "mainwindow/DeadlineListPresenter.h"
#include "platform/Clock.h"
#include "platform/grid/GridModel.h"
#include "startup/Session.h"
#include "store/Database.h"
#include "store/JetSql.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QTextStream>

#include <sys/resource.h>

#include <algorithm>

namespace {

double peakMb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0;   // kilobytes on Linux
}

double rawMs(const QString &connectionString, const QString &jetSql, int &rows)
{
    QElapsedTimer timer;
    timer.start();
    Connection connection;
    connection.open(connectionString);
    const QString sql = translateJetSql(jetSql, connection.schema());
    QSqlQuery query(connection.database());
    query.setForwardOnly(true);
    if (!query.exec(sql))
        throw DbError(-1, QStringLiteral("raw query failed: ") + sql);
    const int fields = query.record().count();
    rows = 0;
    qint64 sink = 0;
    while (query.next()) {
        for (int i = 0; i < fields; ++i)
            sink += query.value(i).isNull() ? 0 : 1;
        ++rows;
    }
    query.finish();
    connection.close();
    const double ms = double(timer.nsecsElapsed()) / 1e6;
    return sink < 0 ? -ms : ms;
}

double listMs(const QString &connectionString, int layout, const QDate &today, int &rows)
{
    // The main window's own presenter, with the options of a default start.
    Session session;
    session.setActiveSheet(1, QStringLiteral("Azienda"));
    session.display().groupOption = layout;
    session.display().counterSeparator = QStringLiteral(" of ");
    DeadlineListPresenter presenter(session);
    presenter.setWarningHorizon(today.addDays(session.display().warnDays));
    presenter.setViewCaption(QStringLiteral("All Deadlines"));
    GridModel grid;
    grid.setPresenter(&presenter);
    grid.setConnectionString(connectionString);
    // As the window loads: empty query, then the computed columns 19 and 20.
    grid.setRecordSource(initialListQuery());
    grid.requery();
    grid.addComputedColumn();
    grid.addComputedColumn();
    grid.addSortKey(ListColumn::TrDate, true);

    QElapsedTimer timer;
    timer.start();
    grid.setRecordSource(listQueryText(0, 0, 1, QDate(), QDate()));
    grid.requery();
    grid.clearGroups();
    grid.addGroup(ListColumn::TrDbId, true);
    if (layout == 1 || layout == 2)
        grid.addGroup(ListColumn::GroupKey, true);
    else if (layout == 3)
        grid.addGroup(ListColumn::AcName, true);
    rows = grid.rowCount();
    return double(timer.nsecsElapsed()) / 1e6;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);

    const QString templatePath = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("master.gen"));
    const QDate today = Clock::today();
    QList<int> sizes{1000, 10000, 100000};
    if (argc > 1) {
        sizes.clear();
        for (int i = 1; i < argc; ++i)
            sizes << QString::fromLocal8Bit(argv[i]).toInt();
    }

    try {
        for (int size : sizes) {
            QTemporaryDir dir;
            SampleData::Options options;
            options.rows = size;
            options.seed = 20170501;
            options.today = today;
            // Every deadline on the measured sheet, so the list holds all of them.
            options.firstSheetPercent = 100;
            SampleData::createDatabase(templatePath, QDir(dir.path()).filePath(QStringLiteral("orvel2.mdb")), options);
            const QString connectionString = Database::connectionString(dir.path());

            for (int layout : {0, 2}) {
                // Best of three: the first pass also warms the file cache.
                int rawRows = 0;
                int listRows = 0;
                double raw = 0;
                double list = 0;
                for (int pass = 0; pass < 3; ++pass) {
                    const double r = rawMs(connectionString, listQueryText(0, 0, 1, QDate(), QDate()), rawRows);
                    const double l = listMs(connectionString, layout, today, listRows);
                    raw = pass == 0 ? r : std::min(raw, r);
                    list = pass == 0 ? l : std::min(list, l);
                }
                out << QStringLiteral("rows=%1 layout=%2 raw_ms=%3 list_ms=%4 ratio=%5 peak_mb=%6")
                           .arg(rawRows)
                           .arg(layout)
                           .arg(raw, 0, 'f', 1)
                           .arg(list, 0, 'f', 1)
                           .arg(raw > 0 ? list / raw : 0.0, 0, 'f', 2)
                           .arg(qRound(peakMb()))
                    << Qt::endl;
            }
        }
    } catch (const DbError &e) {
        err << "database error " << e.number() << ": " << e.description() << Qt::endl;
        return 1;
    } catch (const SampleData::Error &e) {
        err << e.what() << Qt::endl;
        return 1;
    }
    return 0;
}
