// For the kill sweep of tst_Backups: says "go" on its output, then makes one
// backup (make DB FOLDER) or one restore (restore DB BACKUP FOLDER), unless
// killed first.
#include "store/Backups.h"

#include <QDateTime>
#include <QString>

#include <cstdio>
#include <cstring>

int main(int argc, char *argv[])
{
    if (argc < 4)
        return 2;
    const bool restore = std::strcmp(argv[1], "restore") == 0;
    if (restore && argc < 5)
        return 2;
    const QString database = QString::fromLocal8Bit(argv[2]);
    std::fputs("go\n", stdout);
    std::fflush(stdout);
    const Backups::Outcome outcome =
        restore ? Backups::restore(database, QString::fromLocal8Bit(argv[3]), QString::fromLocal8Bit(argv[4]),
                                   QDateTime::currentDateTime())
                : Backups::make(database, QString::fromLocal8Bit(argv[3]), QDateTime::currentDateTime(), 0);
    return outcome.ok() ? 0 : 1;
}
