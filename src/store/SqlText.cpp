#include "store/SqlText.h"

#include <QLocale>

QString quoteSqlText(const QString &text)
{
    QString quoted = text;
    quoted.replace(u'\'', QStringLiteral("''"));
    return quoted;
}

QString sqlDateLiteral(const QDate &date)
{
    // Built from the numbers, not from a locale pattern, so no locale can change
    // the order or the separator.
    return QStringLiteral("#%1/%2/%3#")
        .arg(date.month(), 2, 10, QChar(u'0'))
        .arg(date.day(), 2, 10, QChar(u'0'))
        .arg(date.year(), 4, 10, QChar(u'0'));
}

QString stringOrDefault(const QVariant &value, const QString &defaultValue)
{
    if (!value.isValid() || value.isNull())
        return defaultValue;
    if (value.typeId() == QMetaType::QString)
        return value.toString();
    if (value.typeId() == qMetaTypeId<Currency>())
        return value.value<Currency>().toPlainText();
    if (value.canConvert<QString>())
        return value.toString();
    return defaultValue;
}

double numberOrDefault(const QVariant &value, double defaultValue)
{
    if (!value.isValid() || value.isNull())
        return defaultValue;
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
    case QMetaType::ULong:
        return value.toDouble();
    case QMetaType::Bool:
        // A Yes/No value counts as a number: True is -1 in Jet's arithmetic.
        return value.toBool() ? -1.0 : 0.0;
    case QMetaType::QString: {
        const QString text = value.toString().trimmed();
        bool ok = false;
        double d = QLocale().toDouble(text, &ok);
        if (!ok)
            d = QLocale::c().toDouble(text, &ok);
        return ok ? d : defaultValue;
    }
    default:
        if (value.typeId() == qMetaTypeId<Currency>())
            return value.value<Currency>().toDouble();
        return defaultValue;
    }
}
