#include "startup/comRegistry.h"

#include <QCoreApplication>
#include <QtEndian>
#include <QDir>
#include <QFileInfo>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QSettings>
#include <QStandardPaths>

#include <cmath>

// Each value is kept as "<kind>:<data>", in the spirit of a registry export:
// "dword:2", "sz:/home/anna/Documents/Orvel2DB", "expand_sz:%HOME%/db", "hex:0a0b".
// A value without a known prefix (a hand-edited file) reads as plain text.

namespace {

QString g_storePath;

QString defaultStorePath()
{
    QString base = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    if (base.isEmpty())
        base = QDir::homePath() + QStringLiteral("/.config");
    return base + QStringLiteral("/Kestrum/registry.ini");
}

// "Software\Kestrum\Orvel 2\Settings" -> "Software/Kestrum/Orvel 2/Settings"; the
// root key becomes the first level so the three roots never mix.
QString groupFor(quint32 root, const QString &section)
{
    QString path = section;
    path.replace(u'\\', u'/');
    while (path.startsWith(u'/'))
        path.remove(0, 1);
    return QStringLiteral("%1/%2").arg(root, 8, 16, QLatin1Char('0')).arg(path);
}

QString sourceName()
{
    const QString exe = QCoreApplication::instance()
                            ? QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName()
                            : QStringLiteral("orvel2");
    return exe + QStringLiteral(".comRegistry");
}

QString expandEnvironment(const QString &text)
{
    static const QRegularExpression var(QStringLiteral("%([^%]+)%"));
    const QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    QString out;
    qsizetype last = 0;
    for (auto it = var.globalMatch(text); it.hasNext();) {
        const auto m = it.next();
        out += text.mid(last, m.capturedStart() - last);
        const QString name = m.captured(1);
        // Unknown names stay as written, as the system's own expansion does.
        out += env.contains(name) ? env.value(name) : m.captured(0);
        last = m.capturedEnd();
    }
    out += text.mid(last);
    return out;
}

// A "%" followed by a second one at least two characters further on.
bool looksExpandable(const QString &text)
{
    const qsizetype first = text.indexOf(u'%');
    return first >= 0 && text.indexOf(u'%', first + 2) >= 0;
}

std::optional<qint32> toDword(const QVariant &value)
{
    switch (value.metaType().id()) {
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Int:
    case QMetaType::SChar:
    case QMetaType::UChar:
        return value.toInt();
    case QMetaType::Long:
    case QMetaType::LongLong: {
        const qlonglong v = value.toLongLong();
        if (v < std::numeric_limits<qint32>::min() || v > std::numeric_limits<qint32>::max())
            return std::nullopt;
        return qint32(v);
    }
    case QMetaType::Float: {
        const double v = std::nearbyint(value.toFloat());
        if (!std::isfinite(v) || v < std::numeric_limits<qint32>::min() || v > std::numeric_limits<qint32>::max())
            return std::nullopt;
        return qint32(v);
    }
    default:
        return std::nullopt;   // Booleans, texts and doubles are not stored as integers
    }
}

} // namespace

RegistryError::RegistryError(qint64 number, const QString &source, const QString &description)
    : std::runtime_error(description.toStdString()), m_number(number), m_source(source), m_description(description)
{
}

void comRegistry::setMachine(const QString &name)
{
    m_machine = name.isEmpty() || name.startsWith(QStringLiteral("\\\\")) ? name : QStringLiteral("\\\\") + name;
}

void comRegistry::setStorePath(const QString &iniFile) { g_storePath = iniFile; }

QString comRegistry::storePath() { return g_storePath.isEmpty() ? defaultStorePath() : g_storePath; }

QVariant comRegistry::Value()
{
    QSettings store(storePath(), QSettings::IniFormat);
    store.beginGroup(groupFor(m_classKey, m_sectionKey));
    const QVariant raw = store.value(m_valueKey);
    if (!raw.isValid())
        return m_default;
    const QString stored = raw.toString();
    const qsizetype colon = stored.indexOf(u':');
    const QString kind = colon > 0 ? stored.left(colon) : QString();
    const QString data = colon > 0 ? stored.mid(colon + 1) : stored;

    if (kind == QLatin1String("dword") || kind == QLatin1String("dword_be")) {
        bool ok = false;
        const qint32 v = data.trimmed().toInt(&ok);
        if (!ok)
            return m_default;   // unreadable data counts as a missing value
        if (kind == QLatin1String("dword")) {
            m_valueType = REG_DWORD;
            return v;
        }
        m_valueType = REG_DWORD_BIG_ENDIAN;
        return qint32(qbswap(quint32(v)));
    }
    if (kind == QLatin1String("expand_sz")) {
        m_valueType = REG_EXPAND_SZ;
        return expandEnvironment(data);
    }
    if (kind == QLatin1String("multi_sz")) {
        m_valueType = REG_MULTI_SZ;
        return data;
    }
    if (kind == QLatin1String("hex")) {
        m_valueType = REG_BINARY;
        return QByteArray::fromHex(data.toLatin1());
    }
    m_valueType = REG_SZ;
    return kind == QLatin1String("sz") ? data : stored;
}

QString comRegistry::describe(const QVariant &value) const
{
    return QStringLiteral("Key: '%1',Section: '%2',Key: '%3' to value: '%4'")
        .arg(qint32(m_classKey))
        .arg(m_sectionKey, m_valueKey, value.toString());
}

void comRegistry::setValue(const QVariant &value)
{
    const QString failure = QStringLiteral("Failed to set registry value ") + describe(value);
    const QFileInfo file(storePath());
    if (!QDir().mkpath(file.absolutePath()))
        throw RegistryError(ErrorCreateKey, sourceName(), failure);

    QString encoded;
    switch (m_valueType) {
    case REG_SZ:
    case REG_EXPAND_SZ: {
        const QString text = value.toString();
        encoded = (looksExpandable(text) ? QStringLiteral("expand_sz:") : QStringLiteral("sz:")) + text;
        break;
    }
    case REG_BINARY:
        if (value.metaType().id() != QMetaType::QByteArray)
            throw RegistryError(ErrorCreateKey, sourceName(), failure);
        encoded = QStringLiteral("hex:") + QString::fromLatin1(value.toByteArray().toHex());
        break;
    case REG_DWORD:
    case REG_DWORD_BIG_ENDIAN: {
        const auto dword = toDword(value);
        if (!dword)
            return;
        encoded = QStringLiteral("dword:") + QString::number(*dword);
        break;
    }
    default:
        throw RegistryError(ErrorSetValue, sourceName(), failure);
    }

    QSettings store(storePath(), QSettings::IniFormat);
    store.beginGroup(groupFor(m_classKey, m_sectionKey));
    store.setValue(m_valueKey, encoded);
    store.endGroup();
    store.sync();
    if (store.status() != QSettings::NoError || !store.isWritable())
        throw RegistryError(ErrorSetValue, sourceName(), failure);
}

bool comRegistry::KeyExists() const
{
    QSettings store(storePath(), QSettings::IniFormat);
    store.beginGroup(groupFor(m_classKey, m_sectionKey));
    return !store.allKeys().isEmpty();
}

void comRegistry::DeleteValue()
{
    QSettings store(storePath(), QSettings::IniFormat);
    store.beginGroup(groupFor(m_classKey, m_sectionKey));
    store.remove(m_valueKey);
    store.endGroup();
    store.sync();
    if (store.status() != QSettings::NoError)
        throw RegistryError(ErrorCreateKey, sourceName(),
                            QStringLiteral("Failed to delete registry Key: '%1',Section: '%2',Key: '%3'")
                                .arg(qint32(m_classKey))
                                .arg(m_sectionKey, m_valueKey));
}
