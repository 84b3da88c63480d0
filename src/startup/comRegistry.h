#pragma once

#include <QString>
#include <QVariant>
#include <QtGlobal>

#include <stdexcept>

// Per-user key/value store with the two kinds of value the program keeps:
// 32-bit integers and texts (plain or expandable). Backed by a QSettings INI file
// in the user's configuration folder, one group per key path; each value keeps
// its kind next to it, so a text stored where an integer is expected reads back
// as text and the caller decides what to make of it.

constexpr quint32 HKEY_CLASSES_ROOT = 0x80000000u;
constexpr quint32 HKEY_CURRENT_USER = 0x80000001u;
constexpr quint32 HKEY_LOCAL_MACHINE = 0x80000002u;

enum RegistryType : int {
    REG_SZ = 1,
    REG_EXPAND_SZ = 2,
    REG_BINARY = 3,
    REG_DWORD = 4,
    REG_DWORD_BIG_ENDIAN = 5,
    REG_MULTI_SZ = 7,
};

class RegistryError : public std::runtime_error
{
public:
    RegistryError(qint64 number, const QString &source, const QString &description);
    qint64 number() const { return m_number; }
    const QString &source() const { return m_source; }
    const QString &description() const { return m_description; }

private:
    qint64 m_number;
    QString m_source;
    QString m_description;
};

class comRegistry
{
public:
    static constexpr qint64 ErrorCreateKey = 26001;
    static constexpr qint64 ErrorSetValue = -2147194455;   // object-error base + 27049

    QString Machine() const { return m_machine; }
    void setMachine(const QString &name);
    quint32 ClassKey() const { return m_classKey; }
    void setClassKey(quint32 key) { m_classKey = key; }
    QString SectionKey() const { return m_sectionKey; }
    void setSectionKey(const QString &path) { m_sectionKey = path; }
    QString ValueKey() const { return m_valueKey; }
    void setValueKey(const QString &name) { m_valueKey = name; }
    int ValueType() const { return m_valueType; }
    void setValueType(int type) { m_valueType = type; }
    QVariant Default() const { return m_default; }
    void setDefault(const QVariant &value) { m_default = value; }

    // Reads the value; the default when it is missing. Sets ValueType to the kind found.
    QVariant Value();
    // Stores the value by ValueType's rules; throws RegistryError when that fails.
    void setValue(const QVariant &value);

    bool KeyExists() const;
    void DeleteValue();

    // Where the store lives; tests point it at a temporary file.
    static void setStorePath(const QString &iniFile);
    static QString storePath();

private:
    QString describe(const QVariant &value) const;

    QString m_machine;
    quint32 m_classKey = HKEY_CURRENT_USER;
    QString m_sectionKey;
    QString m_valueKey;
    int m_valueType = REG_SZ;
    QVariant m_default;
};
