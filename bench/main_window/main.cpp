// bench_main_window: the real main window, offscreen, over sheets of growing
// size: how long it takes to start, to change the view and the layout, and what
// it holds in memory after twenty changes. Each figure is set against the floor
// of the same run: the same SELECT read through SQLite's C API, every column of
// every row read as its type, which no list can beat. Not a test.
#include "SampleData.h"

#include "mainwindow/DeadlineList.h"
#include "mainwindow/MainWindow.h"
#include "platform/Clock.h"
#include "platform/Pauses.h"
#include "platform/Prompts.h"
#include "platform/grid/DataGrid.h"
#include "startup/Session.h"
#include "startup/SettingsStore.h"
#include "startup/Texts.h"
#include "store/Database.h"
#include "store/JetSql.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>

#include <sqlite3.h>

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

// The floor: the list's SELECT, translated as the store translates it, read
// row by row with each column taken by its stored type.
double floorMs(const QString &connectionString, const QString &jetSql, int &rows)
{
    Connection connection;
    connection.open(connectionString);
    const QByteArray sql = translateJetSql(jetSql, connection.schema()).toUtf8();
    const QByteArray path = QFile::encodeName(connection.dataSource());
    connection.close();

    sqlite3 *db = nullptr;
    if (sqlite3_open_v2(path.constData(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK)
        throw DbError(-1, QStringLiteral("cannot open ") + QString::fromLocal8Bit(path));
    QElapsedTimer timer;
    timer.start();
    sqlite3_stmt *statement = nullptr;
    if (sqlite3_prepare_v2(db, sql.constData(), int(sql.size()), &statement, nullptr) != SQLITE_OK) {
        const QString message = QString::fromUtf8(sqlite3_errmsg(db));
        sqlite3_close(db);
        throw DbError(-1, QStringLiteral("floor query failed: ") + message);
    }
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
    sqlite3_close(db);
    return sink == 42 ? ms + 0.0 : ms;   // keeps the reads from being optimised away
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
    out << QStringLiteral("case=%1 rows=%2 raw_ms=%3 ms=%4 ratio=%5 rss_mb=%6")
               .arg(QLatin1String(name))
               .arg(rows)
               .arg(raw, 0, 'f', 1)
               .arg(ms, 0, 'f', 1)
               .arg(raw > 0 ? ms / raw : 0.0, 0, 'f', 2)
               .arg(qRound(residentMb()))
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

    Session session(SettingsStore(dir.filePath(QStringLiteral("settings.ini"))));
    session.setConnectionString(Database::connectionString(dir.path()));
    session.setActiveSheet(1, QStringLiteral("Azienda"));
    const QString connectionString = session.connectionString();
    auto query = [&](int view) { return listQueryText(view, view, 1, today, today); };

    int rows = 0;
    // The first read also warms the file cache, as a second start would find it.
    floorMs(connectionString, query(0), rows);
    const double startFloor = floorMs(connectionString, query(0), rows);

    std::unique_ptr<MainWindow> window;
    const double start = elapsedMs([&] {
        window = std::make_unique<MainWindow>(session);
        window->show();
    });
    print(out, "start", rows, startFloor, start);

    auto *combo = window->findChild<QComboBox *>(QStringLiteral("viewCombo"));
    auto best = [](double a, double b) { return a < 0 ? b : std::min(a, b); };

    // A view change: Open deadlines, then All again; the second one is timed.
    double viewMs = -1;
    double viewFloor = -1;
    for (int pass = 0; pass < 3; ++pass) {
        combo->setCurrentIndex(1);
        QApplication::processEvents();
        viewFloor = best(viewFloor, floorMs(connectionString, query(0), rows));
        viewMs = best(viewMs, elapsedMs([&] { combo->setCurrentIndex(0); }));
    }
    print(out, "view_change", rows, viewFloor, viewMs);

    // A layout change on view 0: plain to by month, each of the three passes.
    double layoutMs = -1;
    double layoutFloor = -1;
    for (int pass = 0; pass < 3; ++pass) {
        window->chooseLayout(0);
        QApplication::processEvents();
        layoutFloor = best(layoutFloor, floorMs(connectionString, query(0), rows));
        layoutMs = best(layoutMs, elapsedMs([&] { window->chooseLayout(2); }));
    }
    print(out, "layout_change", rows, layoutFloor, layoutMs);

    // Twenty changes of view and layout, then one more is timed, and what the
    // process holds afterwards is what a long session would hold.
    for (int change = 0; change < 20; ++change) {
        if (change % 2 == 0)
            combo->setCurrentIndex((change / 2) % 3);
        else
            window->chooseLayout((change / 2) % 4);
        QApplication::processEvents();
    }
    combo->setCurrentIndex(0);
    window->chooseLayout(0);
    QApplication::processEvents();
    const double lastFloor = floorMs(connectionString, query(0), rows);
    const double last = elapsedMs([&] { window->chooseLayout(1); });
    print(out, "after_20_changes", rows, lastFloor, last);
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
    } catch (const DbError &e) {
        err << "database error " << e.number() << ": " << e.description() << Qt::endl;
        return 1;
    } catch (const SampleData::Error &e) {
        err << e.what() << Qt::endl;
        return 1;
    }
    return 0;
}
