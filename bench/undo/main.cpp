// bench_undo: the undo of a purge of 10,000 closed deadlines against the purge
// itself, as the program runs both (the purge recording the rows it deletes), in
// the same run on a register of 40,000 deadlines. Also the recorded purge against
// the bare one, to show what recording costs. Not a test, nothing is asserted.
#include "SampleData.h"

#include "store/Connection.h"
#include "store/Database.h"
#include "store/DeadlineStore.h"
#include "store/RowChange.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>

namespace {

void print(const char *name, int rows, double rawMs, double ms)
{
    QTextStream(stdout) << "case=" << name << " rows=" << rows << " raw_ms=" << QString::number(rawMs, 'f', 1)
                        << " ms=" << QString::number(ms, 'f', 1) << " ratio=" << QString::number(ms / rawMs, 'f', 2)
                        << Qt::endl;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int purged = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 10000;
    const QString templatePath = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("master.gen"));
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("orvel2.mdb"));
    SampleData::Options options;
    options.rows = purged * 4;
    options.today = QDate(2026, 1, 1);
    SampleData::createDatabase(templatePath, file, options);
    const QString cs = Database::connectionString(dir.path());

    // The day that closes the first `purged` closed deadlines of sheet 1.
    QDate lastDate;
    int rows = 0;
    {
        Connection c;
        c.open(cs);
        QSqlQuery q(c.database());
        q.exec(QStringLiteral("SELECT TrDate FROM Transactions WHERE TrDone = 1 AND TrDbId = 1 ORDER BY TrDate "
                              "LIMIT 1 OFFSET %1").arg(purged - 1));
        if (!q.next()) {
            QTextStream(stderr) << "too few closed deadlines" << Qt::endl;
            return 1;
        }
        lastDate = QDate::fromString(q.value(0).toString().left(10), Qt::ISODate);
        rows = DeadlineStore(c).countClosedUpTo(1, lastDate);
    }

    double purgeMs = 1e9;
    double undoMs = 1e9;
    for (int round = 0; round < 3; ++round) {
        RowChange change;
        QElapsedTimer timer;
        timer.start();
        DeadlineStore(cs).purgeClosedUpTo(1, lastDate, &change);
        purgeMs = std::min(purgeMs, timer.nsecsElapsed() / 1e6);
        timer.start();
        {
            Connection c;
            c.open(cs);
            if (change.apply(c, RowChange::Direction::Undo) != RowChange::Outcome::Done) {
                QTextStream(stderr) << "undo refused" << Qt::endl;
                return 1;
            }
        }
        undoMs = std::min(undoMs, timer.nsecsElapsed() / 1e6);
    }
    print("undo_purge", rows, purgeMs, undoMs);

    QElapsedTimer timer;
    timer.start();
    DeadlineStore(cs).purgeClosedUpTo(1, lastDate);
    print("purge_recorded", rows, timer.nsecsElapsed() / 1e6, purgeMs);
    return 0;
}
