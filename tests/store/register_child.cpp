// The other desk of tst_Connection's two-program cases: opens the server register
// named by its argument with the store's own code, listens for the others'
// changes, says "ready", then runs one command a line from its input:
//   toggle SHEET ROW            closes/opens the row and announces it
//   recurrences N               N new monthly recurrences of 3 on sheet 1
//   unmember GROUP ROW...       deletes those members, renumbering the group
// answering "done" or "error NUMBER TEXT". What the others announce comes out as
// "deadlines SHEET ROW,ROW" ("all" for the whole sheet), "counterparties", "sheets".
#include "store/DbError.h"
#include "store/DeadlineStore.h"
#include "store/Register.h"
#include "store/RegisterListener.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <QStringList>

#include <cstdio>
#include <unistd.h>

namespace {

void say(const QString &line)
{
    std::fputs(qPrintable(line + u'\n'), stdout);
    std::fflush(stdout);
}

void run(const QString &cs, Register &changes, const QStringList &args)
{
    DeadlineStore store(cs);
    const auto number = [&](int i) { return args.value(i).toInt(); };
    if (args.value(0) == u"toggle") {
        store.toggleDone(number(2));
        emit changes.deadlinesChanged(number(1), {number(2)});
    } else if (args.value(0) == u"recurrences") {
        const DeadlineStore::NewDeadlines d{.type = 1, .description = QStringLiteral("child"),
                                            .dates = {QDate(2025, 1, 10), QDate(2025, 2, 10), QDate(2025, 3, 10)},
                                            .groupType = u'm'};
        for (int i = 0; i < number(1); ++i)
            store.createDeadlines(d);
    } else if (args.value(0) == u"unmember") {
        for (int i = 2; i < args.size(); ++i)
            store.deleteFromGroup(number(i), number(1));
    }
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc < 2)
        return 2;
    const QString cs = QString::fromLocal8Bit(argv[1]);
    Register changes;
    bool ownCommand = false;
    QObject::connect(&changes, &Register::deadlinesChanged, [&](qint32 sheetId, const QList<qint32> &rowIds) {
        if (ownCommand)
            return;
        QStringList ids;
        for (qint32 id : rowIds)
            ids.append(QString::number(id));
        say(QStringLiteral("deadlines %1 %2").arg(sheetId).arg(ids.isEmpty() ? QStringLiteral("all") : ids.join(u',')));
    });
    QObject::connect(&changes, &Register::counterpartiesChanged, [] { say(QStringLiteral("counterparties")); });
    QObject::connect(&changes, &Register::sheetsChanged, [] { say(QStringLiteral("sheets")); });
    RegisterListener listener(changes, cs, [] { return 1; });
    if (!listener.isListening())
        return 1;

    QByteArray pending;
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, [&] {
        char buffer[4096];
        const ssize_t got = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (got <= 0) {
            QCoreApplication::quit();
            return;
        }
        pending.append(buffer, got);
        qsizetype end;
        while ((end = pending.indexOf('\n')) >= 0) {
            const QStringList args = QString::fromUtf8(pending.left(end)).split(u' ', Qt::SkipEmptyParts);
            pending.remove(0, end + 1);
            ownCommand = true;
            try {
                run(cs, changes, args);
                say(QStringLiteral("done"));
            } catch (const DbError &error) {
                say(QStringLiteral("error %1 %2").arg(error.number()).arg(error.description()));
            }
            ownCommand = false;
        }
    });
    say(QStringLiteral("ready"));
    return app.exec();
}
