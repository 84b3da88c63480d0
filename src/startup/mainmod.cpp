#include "startup/mainmod.h"

#include "platform/Clock.h"
#include "store/comDataBase.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>

namespace mainmod {

namespace {
QString g_programFolder;
}

void resetShared()
{
    ConnectionString.clear();
    ActiveSheetId = 1;
    ActiveSheetName.clear();
    LanguageBase = 3000;
    LanguageChoice = 0;
    HelpFile.clear();
    DbFolder.clear();
    DefaultDbFolder.clear();
    SaveLayoutSettings = true;
    ShowGroupTotals = true;
    ShowGroupCounters = true;
    GroupOption = 0;
    SortKeyIndex = 5;
    SortAscending = 1;
    WarnDays = 2;
    CounterSeparator.clear();
}

SettingsStore Settings()
{
    return SettingsFile.isEmpty() ? SettingsStore() : SettingsStore(SettingsFile);
}

QString ProgramFolder()
{
    if (!g_programFolder.isEmpty())
        return g_programFolder;
    return QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QDir::currentPath();
}

void setProgramFolder(const QString &folder) { g_programFolder = folder; }

QString GetDefaultDbFolder()
{
    QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (documents.isEmpty())
        return {};
    documents = QDir::toNativeSeparators(documents);
    if (!documents.endsWith(QDir::separator()))
        documents += QDir::separator();
    const QString folder = documents + QStringLiteral("Orvel2DB");
    // A fresh account may not have its Documents folder yet: make both levels.
    QDir().mkpath(folder);
    return folder;
}

bool DatabaseUnavailable(const QString &connectionString)
{
    try {
        Connection connection;
        connection.open(connectionString);
        connection.test();
        connection.close();
        return false;
    } catch (const DbError &) {
        return true;
    }
}

QDate WarnLimitDate()
{
    const QDate today = Clock::today();
    return WarnDays == 999 ? today : today.addDays(WarnDays);
}

} // namespace mainmod
