#include "startup/SettingsStore.h"

#include "startup/Texts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSettings>
#include <QStringList>

namespace {

// What a setting means to the user, for a message that names it.
QString preferenceName(const QString &name)
{
    static const QHash<QString, int> names = {
        {QStringLiteral("appset_curdb"), 2702},
        {QStringLiteral("appset_cursca"), 2703},
        {QStringLiteral("appset_intlang"), 2704},
        {QStringLiteral("appset_warndays"), 2705},
        {QStringLiteral("appset_saveintsettings"), 2706},
        {QStringLiteral("appset_showsgrouptotals"), 2707},
        {QStringLiteral("appset_showsgrpdlcounters"), 2708},
        {QStringLiteral("appset_groupopt"), 2709},
        {QStringLiteral("appset_selected_view"), 2709},
        {QStringLiteral("appset_sortkeyidx"), 2709},
        {QStringLiteral("appset_sortkeyasc"), 2709},
        {QStringLiteral("me_maximized"), 2709},
        {QStringLiteral("me_width"), 2709},
        {QStringLiteral("me_height"), 2709},
        {QStringLiteral("appset_ak2"), 2710},
    };
    const int id = names.value(name);
    return id ? Texts::text(id) : name;
}

} // namespace

SettingsStore::WriteError::WriteError(const QString &name, const QString &fileName)
    : std::runtime_error(Texts::text(2701).arg(preferenceName(name), QDir::toNativeSeparators(fileName)).toStdString())
    , m_name(name)
{
}

SettingsStore::SettingsStore()
    : SettingsStore(QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Kestrum"),
                              QStringLiteral("Orvel 2"))
                        .fileName())
{
}

SettingsStore::SettingsStore(const QString &fileName)
    : m_fileName(fileName)
{
}

int SettingsStore::integer(const QString &name, int defaultValue) const
{
    const QVariant value = QSettings(m_fileName, QSettings::IniFormat).value(name);
    if (!value.isValid() || value.typeId() == QMetaType::QStringList)
        return defaultValue;
    // A hand-edited file may hold anything here; what is not a whole number
    // reads as the default rather than stopping the program.
    bool ok = false;
    const int number = value.toString().trimmed().toInt(&ok);
    return ok ? number : defaultValue;
}

int SettingsStore::integer(const Integer &setting) const
{
    return integer(QLatin1String(setting.name), setting.defaultValue);
}

QString SettingsStore::text(const QString &name, const QString &defaultValue) const
{
    const QVariant value = QSettings(m_fileName, QSettings::IniFormat).value(name);
    if (!value.isValid())
        return defaultValue;
    // An unquoted comma in a hand-edited file splits the text into a list.
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QStringLiteral(", "));
    return value.toString();
}

void SettingsStore::setInteger(const QString &name, int value)
{
    write(name, value);
}

void SettingsStore::setInteger(const Integer &setting, int value)
{
    write(QLatin1String(setting.name), value);
}

void SettingsStore::setText(const QString &name, const QString &value)
{
    write(name, value);
}

void SettingsStore::write(const QString &name, const QVariant &value)
{
    // QSettings replaces the whole file through a QSaveFile as long as
    // atomicSyncRequired stays true (its default), so a crash in the middle of a
    // write leaves the old file; status() after sync() tells whether it landed.
    const bool existed = QFileInfo::exists(m_fileName);
    QSettings file(m_fileName, QSettings::IniFormat);
    file.setValue(name, value);
    file.sync();
    if (file.status() != QSettings::NoError)
        throw WriteError(name, m_fileName);
    // The settings name the database's folder: a new file is the user's alone. A
    // rewrite keeps the permissions the existing file had.
    if (!existed)
        QFile::setPermissions(m_fileName, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}
