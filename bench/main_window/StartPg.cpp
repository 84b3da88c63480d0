#include "StartPg.h"

#include "SampleData.h"

#include "mainwindow/SheetDeadlines.h"
#include "platform/Clock.h"
#include "store/Connection.h"
#include "store/Database.h"
#include "store/DeadlineStore.h"
#include "store/RegisterCopy.h"
#include "store/Schema.h"
#include "store/Statements.h"

#include "../BenchTiming.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTextStream>

#include <libpq-fe.h>

#include <algorithm>

namespace {

// The sheet's rows and the clients/suppliers they name through libpq, every value
// of every row taken as the text the server sends: what no list over the server
// can beat.
double libpqFloorMs(const QString &connectionString, int &rows)
{
    const QByteArray conninfo = Database::serverParameters(connectionString).toUtf8();
    PGconn *connection = PQconnectdb(conninfo.constData());
    if (PQstatus(connection) != CONNECTION_OK) {
        const QString message = QString::fromUtf8(PQerrorMessage(connection));
        PQfinish(connection);
        throw DbError(-1, QStringLiteral("libpq: ") + message);
    }
    const QByteArray statements[] = {
        storeStatement(QStringLiteral("QPSQL"), "list-counterparties").toUtf8(),
        storeStatement(QStringLiteral("QPSQL"), "list-sheet").replace(QStringLiteral(":sheetId"), QStringLiteral("1")).toUtf8(),
    };
    qint64 sink = 0;
    auto readAll = [&](const QByteArray &sql) {
        PGresult *result = PQexec(connection, sql.constData());
        if (PQresultStatus(result) != PGRES_TUPLES_OK) {
            const QString message = QString::fromUtf8(PQresultErrorMessage(result));
            PQclear(result);
            PQfinish(connection);
            throw DbError(-1, QStringLiteral("libpq: ") + message);
        }
        const int count = PQntuples(result);
        const int columns = PQnfields(result);
        for (int r = 0; r < count; ++r) {
            for (int c = 0; c < columns; ++c)
                sink += PQgetisnull(result, r, c) ? 0 : PQgetlength(result, r, c) + *PQgetvalue(result, r, c);
        }
        PQclear(result);
        return count;
    };
    double best = -1;
    for (int pass = 0; pass < 3; ++pass) {
        const double ms = elapsedMs([&] {
            readAll(statements[0]);
            rows = readAll(statements[1]);
        });
        best = best < 0 ? ms : std::min(best, ms + (sink == 42 ? 1e-9 : 0.0));
    }
    PQfinish(connection);
    return best;
}

} // namespace

void runStartPg(QTextStream &out, const QString &templatePath, int rows)
{
    const QString server = qEnvironmentVariable("ORVEL_TEST_REGISTER");
    if (server.isEmpty()) {
        out << "case=start_pg skipped: ORVEL_TEST_REGISTER names no server register "
               "(run under bash scripts/pg-cluster run)" << Qt::endl;
        return;
    }
    {
        Connection connection;
        connection.open(server);
        QSqlQuery query(connection.database());
        if (!query.exec(QStringLiteral("DROP SCHEMA public CASCADE")) || !query.exec(QStringLiteral("CREATE SCHEMA public")))
            throw DbError::fromEngine(query.lastError(), server);
    }
    QTemporaryDir dir;
    SampleData::Options options;
    options.rows = rows;
    options.seed = 20170501;
    options.today = Clock::today();
    options.firstSheetPercent = 100;   // the whole sheet is listed
    SampleData::createDatabase(templatePath, dir.filePath(QStringLiteral("orvel2.mdb")), options);
    // As the program finds it once started: at the latest version.
    const QString sample = Database::connectionString(dir.path());
    upgradeSchema(sample);
    RegisterCopy::Outcome copied;
    const double copyMs = elapsedMs([&] { copied = RegisterCopy::toServer(sample, server); });
    if (!copied.ok())
        throw DbError(-1, QStringLiteral("the sample register could not be copied to ") + server);
    out << "# the sample register copied to the server, verified, in " << qRound(copyMs) << " ms" << Qt::endl;

    int floorRows = 0;
    // The first read warms the server's cache, as a second start would find it.
    libpqFloorMs(server, floorRows);
    const double floor = libpqFloorMs(server, floorRows);
    double best = -1;
    int listed = 0;
    for (int pass = 0; pass < 3; ++pass) {
        // Connected first, as the floor is: what is compared is the read.
        DeadlineStore store(server);
        const double ms = elapsedMs([&] {
            SheetDeadlines sheet;
            listed = sheet.load(store, 1).rowCount;
        });
        best = best < 0 ? ms : std::min(best, ms);
    }
    if (listed != floorRows)
        throw DbError(-1, QStringLiteral("the list read %1 rows, libpq %2").arg(listed).arg(floorRows));
    out << QStringLiteral("case=start_pg rows=%1 raw_ms=%2 ms=%3 ratio=%4")
               .arg(listed)
               .arg(floor, 0, 'f', 1)
               .arg(best, 0, 'f', 1)
               .arg(floor > 0 ? best / floor : 0.0, 0, 'f', 2)
        << Qt::endl;
}
