#include "startup/Settings.h"

#include "startup/mainmod.h"

QVariant SettingsRead(quint32 root, const QString &keyPath, int valueType, const QString &name,
                      const QVariant &defaultValue)
{
    comRegistry reg;
    reg.setClassKey(root);
    reg.setSectionKey(keyPath);
    reg.setValueType(valueType);
    reg.setValueKey(name);
    reg.setDefault(defaultValue);
    return reg.Value();
}

void SettingsWrite(quint32 root, const QString &keyPath, int valueType, const QString &name,
                   const QVariant &value)
{
    comRegistry reg;
    reg.setClassKey(root);
    reg.setSectionKey(keyPath);
    reg.setValueType(valueType);
    reg.setValueKey(name);
    reg.setValue(value);
}

QString SettingsKeyPathFor(const QString &applicationTitle)
{
    return QStringLiteral("Software\\Kestrum\\") + applicationTitle + QStringLiteral("\\Settings");
}

static QString keyPath()
{
    return mainmod::SettingsKeyPath.isEmpty() ? SettingsKeyPathFor(mainmod::AppTitle) : mainmod::SettingsKeyPath;
}

int SettingInt(const QString &name, int defaultValue)
{
    const QVariant v = SettingsRead(HKEY_CURRENT_USER, keyPath(), REG_DWORD, name, defaultValue);
    if (v.metaType().id() == QMetaType::Int)
        return v.toInt();
    // A text where a number belongs: a whole number in it still counts, anything
    // else falls back to the default rather than stopping the program.
    bool ok = false;
    const int n = v.toString().trimmed().toInt(&ok);
    return ok ? n : defaultValue;
}

QString SettingText(const QString &name, const QString &defaultValue)
{
    const QVariant v = SettingsRead(HKEY_CURRENT_USER, keyPath(), REG_SZ, name, defaultValue);
    return v.metaType().id() == QMetaType::QByteArray ? defaultValue : v.toString();
}

void SetSettingInt(const QString &name, int value)
{
    SettingsWrite(HKEY_CURRENT_USER, keyPath(), REG_DWORD, name, value);
}

void SetSettingText(const QString &name, const QString &value)
{
    SettingsWrite(HKEY_CURRENT_USER, keyPath(), REG_SZ, name, value);
}
