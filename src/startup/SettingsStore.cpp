#include "startup/SettingsStore.h"

#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStringList>

SettingsStore::WriteError::WriteError(const QString &name, const QString &fileName)
    : std::runtime_error(QStringLiteral("Cannot store the setting %1 in %2").arg(name, fileName).toStdString())
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
