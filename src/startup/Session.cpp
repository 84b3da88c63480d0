#include "startup/Session.h"

#include "platform/Clock.h"
#include "startup/ProgramFiles.h"
#include "startup/ServerAddress.h"
#include "startup/Setting.h"
#include "store/Database.h"
#include "store/SheetStore.h"

#include <QCoreApplication>
#include <QDir>

Session::Session(SettingsStore settings)
    : m_settings(std::move(settings))
{
}

QString Session::programFolder() const
{
    if (!m_programFolder.isEmpty())
        return m_programFolder;
    return programFilesFolder(QCoreApplication::instance() ? QCoreApplication::applicationDirPath()
                                                           : QDir::currentPath());
}

void Session::setDatabaseFolder(const QString &folder)
{
    m_databaseFolder = folder;
    m_serverRegister.clear();
    m_connectionString = Database::connectionString(folder);
}

void Session::setServerRegister(const QString &name, const QString &password)
{
    m_databaseFolder.clear();
    m_serverRegister = name;
    m_connectionString = ServerAddress::withPassword(name, password);
}

QString Session::registerName() const
{
    if (onServer())
        return ServerAddress::shownName(m_serverRegister);
    return QDir::toNativeSeparators(Database::dataSource(m_connectionString));
}

void Session::setActiveSheet(qint32 id, const QString &name)
{
    m_activeSheetId = id;
    m_activeSheetName = name;
}

void Session::loadActiveSheet()
{
    SheetStore sheets(m_connectionString);
    const qint32 id = sheets.existingOrFirst(m_settings.integer(Setting::ActiveSheet));
    setActiveSheet(id, sheets.name(id));
}

void Session::readDisplayOptions()
{
    m_display.saveLayout = m_settings.integer(Setting::SaveLayout) == 1;
    m_display.showGroupTotals = m_settings.integer(Setting::ShowGroupTotals) == 1;
    m_display.showGroupCounters = m_settings.integer(Setting::ShowGroupCounters) == 1;
    const int groupOption = m_settings.integer(Setting::GroupOption);
    m_display.groupOption = groupOption >= 0 && groupOption <= 3 ? groupOption : Setting::GroupOption.defaultValue;
    m_display.warnDays = m_settings.integer(Setting::WarnDays);
}

QDate Session::warnLimitDate() const
{
    const QDate today = Clock::today();
    return m_display.warnDays == DisplayOptions::NoWarning ? today : today.addDays(m_display.warnDays);
}
