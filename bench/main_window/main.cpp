// bench_main_window: the real main window, offscreen, over sheets of growing
// size: how long it takes to start, to change the view and the layout, to show a
// saved deadline, and what it holds in memory after twenty changes. Each figure
// is set against the floor of the same run: the sheet's rows read through
// SQLite's C API by the faster plan, every column of every row read as its type,
// which no list can beat. Not a test.
#include "SampleData.h"
#include "StartPg.h"

#include "mainwindow/DeadlineList.h"
#include "mainwindow/ListPanel.h"
#include "mainwindow/MainWindow.h"
#include "platform/Clock.h"
#include "platform/Pauses.h"
#include "platform/Prompts.h"
#include "platform/grid/DataGrid.h"
#include "startup/Session.h"
#include "startup/SettingsStore.h"
#include "startup/Texts.h"
#include "store/Database.h"
#include "store/Register.h"
#include "store/Schema.h"
#include "store/DeadlineStore.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTextStream>

#include <sqlite3.h>
#include <sys/resource.h>

#include <algorithm>
#include <functional>
#include <memory>

namespace {

double residentMb()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields.at(1).toDouble() * 4096.0 / (1024.0 * 1024.0) : 0;
}

// One read of the sheet's rows with every column of every row taken as its
// stored type, through SQLite's C API: what no list can beat.
double readMs(sqlite3 *db, const char *sql, int &rows)
{
    QElapsedTimer timer;
    timer.start();
    sqlite3_stmt *statement = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &statement, nullptr) != SQLITE_OK)
        throw DbError(-1, QStringLiteral("floor query failed: ") + QString::fromUtf8(sqlite3_errmsg(db)));
    const int columns = sqlite3_column_count(statement);
    qint64 sink = 0;
    rows = 0;
    while (sqlite3_step(statement) == SQLITE_ROW) {
        for (int c = 0; c < columns; ++c) {
            switch (sqlite3_column_type(statement, c)) {
            case SQLITE_INTEGER:
                sink += sqlite3_column_int64(statement, c);
                break;
            case SQLITE_FLOAT:
                sink += qint64(sqlite3_column_double(statement, c));
                break;
            case SQLITE_TEXT:
                sink += sqlite3_column_bytes(statement, c) + (sqlite3_column_text(statement, c) ? 1 : 0);
                break;
            case SQLITE_BLOB:
                sink += sqlite3_column_bytes(statement, c);
                break;
            default:
                break;
            }
        }
        ++rows;
    }
    sqlite3_finalize(statement);
    const double ms = double(timer.nsecsElapsed()) / 1e6;
    return sink == 42 ? ms + 0.0 : ms;   // keeps the reads from being optimised away
}

// The floor: sheet 1's rows with their client/supplier, the faster of the plan
// SQLite picks and a plain pass over the table, no computed column.
double floorMs(const QString &databasePath, int &rows)
{
    static const char *const plans[] = {
        "SELECT TrRowId, TrDbId, TrType, TrDone, TrDate, TrDescription, TrAcId, TrValue, TrBalance, TrGrpType, "
        "TrGrpRow, TrGrpMDay, TrNotes, TrGrpId, AcId, AcName, AcNotes FROM Transactions LEFT JOIN Accounts "
        "ON TrAcId = AcId WHERE TrDbId = 1",
        "SELECT TrRowId, TrDbId, TrType, TrDone, TrDate, TrDescription, TrAcId, TrValue, TrBalance, TrGrpType, "
        "TrGrpRow, TrGrpMDay, TrNotes, TrGrpId, AcId, AcName, AcNotes FROM Transactions NOT INDEXED LEFT JOIN "
        "Accounts ON TrAcId = AcId WHERE TrDbId = 1",
    };
    const QByteArray path = QFile::encodeName(databasePath);
    sqlite3 *db = nullptr;
    if (sqlite3_open_v2(path.constData(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK)
        throw DbError(-1, QStringLiteral("cannot open ") + databasePath);
    double best = -1;
    for (const char *sql : plans) {
        const double ms = readMs(db, sql, rows);
        best = best < 0 ? ms : std::min(best, ms);
    }
    sqlite3_close(db);
    return best;
}

double elapsedMs(const std::function<void()> &step)
{
    QElapsedTimer timer;
    timer.start();
    step();
    // Whatever the change queued (repaints, layout) runs before the clock stops.
    QApplication::processEvents();
    return double(timer.nsecsElapsed()) / 1e6;
}

void print(QTextStream &out, const char *name, int rows, double raw, double ms)
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    out << QStringLiteral("case=%1 rows=%2 raw_ms=%3 ms=%4 ratio=%5 rss_mb=%6 peak_mb=%7")
               .arg(QLatin1String(name))
               .arg(rows)
               .arg(raw, 0, 'f', 1)
               .arg(ms, 0, 'f', 1)
               .arg(raw > 0 ? ms / raw : 0.0, 0, 'f', 2)
               .arg(qRound(residentMb()))
               .arg(qRound(double(usage.ru_maxrss) / 1024.0))
        << Qt::endl;
}

void runSize(QTextStream &out, const QString &templatePath, int size)
{
    QTemporaryDir dir;
    const QDate today = Clock::today();
    SampleData::Options options;
    options.rows = size;
    options.seed = 20170501;
    options.today = today;
    options.firstSheetPercent = 100;   // the whole sheet is listed
    SampleData::createDatabase(templatePath, dir.filePath(QStringLiteral("orvel2.mdb")), options);
    // As the program finds it once started: at the latest version, with its indexes.
    upgradeSchema(Database::connectionString(dir.path()));

    Session session(SettingsStore(dir.filePath(QStringLiteral("settings.ini"))));
    session.setConnectionString(Database::connectionString(dir.path()));
    session.setActiveSheet(1, QStringLiteral("Azienda"));
    const QString databasePath = dir.filePath(QStringLiteral("orvel2.mdb"));
    auto floor = [&](int &rows) { return floorMs(databasePath, rows); };

    int rows = 0;
    // The first read also warms the file cache, as a second start would find it.
    floor(rows);
    auto best = [](double a, double b) { return a < 0 ? b : std::min(a, b); };

    // Best of three starts, each after a floor, as every other case is; the last
    // window stays for them.
    std::unique_ptr<MainWindow> window;
    double start = -1;
    double startFloor = -1;
    for (int pass = 0; pass < 3; ++pass) {
        window.reset();
        QApplication::processEvents();
        startFloor = best(startFloor, floor(rows));
        start = best(start, elapsedMs([&] {
                         window = std::make_unique<MainWindow>(session);
                         window->show();
                     }));
    }
    print(out, "start", rows, startFloor, start);

    auto *combo = window->findChild<QComboBox *>(QStringLiteral("viewCombo"));

    // A view change: Open deadlines, then All again; the second one is timed.
    double viewMs = -1;
    double viewFloor = -1;
    for (int pass = 0; pass < 3; ++pass) {
        combo->setCurrentIndex(1);
        QApplication::processEvents();
        viewFloor = best(viewFloor, floor(rows));
        viewMs = best(viewMs, elapsedMs([&] { combo->setCurrentIndex(0); }));
    }
    print(out, "view_change", rows, viewFloor, viewMs);

    // A layout change on view 0: plain to by month, each of the three passes.
    double layoutMs = -1;
    double layoutFloor = -1;
    for (int pass = 0; pass < 3; ++pass) {
        window->listPanel()->chooseLayout(0);
        QApplication::processEvents();
        layoutFloor = best(layoutFloor, floor(rows));
        layoutMs = best(layoutMs, elapsedMs([&] { window->listPanel()->chooseLayout(2); }));
    }
    print(out, "layout_change", rows, layoutFloor, layoutMs);

    // Twenty changes of view and layout, then one more is timed, and what the
    // process holds afterwards is what a long session would hold.
    for (int change = 0; change < 20; ++change) {
        if (change % 2 == 0)
            combo->setCurrentIndex((change / 2) % 3);
        else
            window->listPanel()->chooseLayout((change / 2) % 4);
        QApplication::processEvents();
    }
    combo->setCurrentIndex(0);
    window->listPanel()->chooseLayout(0);
    QApplication::processEvents();
    const double lastFloor = floor(rows);
    const double last = elapsedMs([&] { window->listPanel()->chooseLayout(1); });
    print(out, "after_20_changes", rows, lastFloor, last);

    // One new deadline saved as the new-deadline window saves it: written, then
    // announced; the list and the calendar marks are current again when it returns.
    double saveMs = -1;
    for (int pass = 0; pass < 3; ++pass) {
        saveMs = best(saveMs, elapsedMs([&] {
                          DeadlineStore::NewDeadlines deadline;
                          deadline.type = 1;
                          deadline.description = QStringLiteral("Saved");
                          deadline.value = Currency::fromUnits(10000);
                          deadline.dates = {today};
                          const QList<qint32> written =
                              DeadlineStore(session.connectionString()).createDeadlines(deadline).touched;
                          emit session.deadlineRegister().deadlinesChanged(1, written);
                      }));
    }
    print(out, "after_save", rows, floor(rows), saveMs);
    window.reset();
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    Texts::setLanguage(Language::English);
    Pauses::setScale(0);
    Prompt::ScriptedPrompts prompts;   // an unexpected question never blocks the run

    const QString templatePath = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("master.gen"));
    QList<int> sizes{1000, 10000, 100000};
    if (argc > 1) {
        sizes.clear();
        for (int i = 1; i < argc; ++i)
            sizes << QString::fromLocal8Bit(argv[i]).toInt();
    }
    try {
        for (int size : sizes)
            runSize(out, templatePath, size);
        runStartPg(out, templatePath, *std::max_element(sizes.cbegin(), sizes.cend()));
    } catch (const DbError &e) {
        err << "database error " << e.number() << ": " << e.description() << Qt::endl;
        return 1;
    } catch (const SampleData::Error &e) {
        err << e.what() << Qt::endl;
        return 1;
    }
    return 0;
}
