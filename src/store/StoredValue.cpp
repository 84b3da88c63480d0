#include "store/StoredValue.h"

#include "store/Currency.h"
#include "store/DbError.h"

#include <QDate>
#include <QDateTime>

#include <cmath>
#include <limits>

namespace {

int digitsAt(const QString &s, qsizetype from, qsizetype count)
{
    int value = 0;
    for (qsizetype i = from; i < from + count; ++i) {
        const char16_t c = s[i].unicode();
        if (c < u'0' || c > u'9')
            return -1;
        value = value * 10 + (c - u'0');
    }
    return value;
}

QVariant dateFromStorage(const QVariant &stored)
{
    if (stored.typeId() != QMetaType::QString)
        return stored;
    const QString s = stored.toString();
    // 'yyyy-MM-dd', possibly followed by a time part written by another tool.
    if (s.size() >= 10 && s[4] == u'-' && s[7] == u'-') {
        const QDate date(digitsAt(s, 0, 4), digitsAt(s, 5, 2), digitsAt(s, 8, 2));
        if (date.isValid())
            return date;
    }
    return stored;
}

QVariant currencyFromStorage(const QVariant &stored)
{
    switch (stored.typeId()) {
    case QMetaType::LongLong:
    case QMetaType::Int:
        return QVariant::fromValue(Currency::fromUnits(stored.toLongLong()));
    case QMetaType::Double:
        // Past the range it stays the number it is, which no reader takes for an amount.
        if (const auto amount = Currency::fromRoundedUnits(stored.toDouble()))
            return QVariant::fromValue(*amount);
        return stored;
    default:
        if (const auto parsed = Currency::parse(stored.toString()))
            return QVariant::fromValue(*parsed);
        return stored;
    }
}

} // namespace

// A stored value as the program reads it: the kinds decide, once per column.
QVariant StoredValue::fromStorage(const QVariant &stored, ColumnKind kind)
{
    if (stored.isNull())
        return {};
    switch (kind) {
    case ColumnKind::Integer:
    case ColumnKind::Counter: {
        bool ok = false;
        const qlonglong v = stored.toLongLong(&ok);
        if (!ok)
            return stored;
        if (v >= std::numeric_limits<int>::min() && v <= std::numeric_limits<int>::max())
            return int(v);
        return v;
    }
    case ColumnKind::Text:
    case ColumnKind::Memo:
        return stored.typeId() == QMetaType::QString ? stored : QVariant(stored.toString());
    case ColumnKind::Date:
        return dateFromStorage(stored);
    case ColumnKind::Currency:
        return currencyFromStorage(stored);
    case ColumnKind::YesNo:
        return stored.toLongLong() != 0;
    case ColumnKind::Real:
        return stored.toDouble();
    case ColumnKind::Other:
        break;
    }
    return stored;
}

[[noreturn]] void mismatch(const QVariant &value, const QString &column)
{
    throw DbError(DbError::TypeMismatch,
                  QStringLiteral("Data type conversion error: '%1' cannot be stored in %2.").arg(value.toString(), column));
}

// The value to bind for a column of the given kind.
QVariant StoredValue::toStorage(const QVariant &value, ColumnKind kind, const QString &column)
{
    if (!value.isValid() || value.isNull())
        return QVariant(QMetaType::fromType<QString>());
    const int type = value.typeId();
    switch (kind) {
    case ColumnKind::Integer:
    case ColumnKind::Counter: {
        bool ok = false;
        const qlonglong v = value.toLongLong(&ok);
        if (!ok || type == QMetaType::QDate)
            mismatch(value, column);
        return v;
    }
    case ColumnKind::Text:
    case ColumnKind::Memo:
        if (type == QMetaType::QDate)
            return value.toDate().toString(Qt::ISODate);
        if (type == qMetaTypeId<Currency>())
            return value.value<Currency>().toPlainText();
        return value.toString();
    case ColumnKind::Date: {
        QDate date;
        if (type == QMetaType::QDate)
            date = value.toDate();
        else if (type == QMetaType::QDateTime)
            date = value.toDateTime().date();
        else if (type == QMetaType::QString) {
            date = QDate::fromString(value.toString(), Qt::ISODate);
            if (!date.isValid())
                date = QDate::fromString(value.toString(), QStringLiteral("MM/dd/yyyy"));
        }
        if (!date.isValid())
            mismatch(value, column);
        return date.toString(Qt::ISODate);
    }
    case ColumnKind::Currency: {
        if (type == qMetaTypeId<Currency>())
            return value.value<Currency>().units();
        if (type == QMetaType::Int || type == QMetaType::LongLong || type == QMetaType::UInt) {
            qint64 units = 0;
            if (qMulOverflow(value.toLongLong(), Currency::Scale, &units))
                mismatch(value, column);
            return units;
        }
        if (type == QMetaType::Double || type == QMetaType::Float) {
            const double d = value.toDouble() * Currency::Scale;
            if (!std::isfinite(d) || std::fabs(d) >= 9.2e18)
                mismatch(value, column);
            return qlonglong(std::llround(d));
        }
        QString text = value.toString().trimmed();
        auto parsed = Currency::parse(text);
        if (!parsed)
            parsed = Currency::parse(text, u',');
        if (!parsed)
            mismatch(value, column);
        return parsed->units();
    }
    case ColumnKind::YesNo:
        if (type == QMetaType::QString) {
            const QString text = value.toString().trimmed();
            if (text.compare(u"true", Qt::CaseInsensitive) == 0)
                return 1;
            if (text.compare(u"false", Qt::CaseInsensitive) == 0)
                return 0;
            bool ok = false;
            const qlonglong v = text.toLongLong(&ok);
            if (!ok)
                mismatch(value, column);
            return v != 0 ? 1 : 0;
        }
        return value.toBool() ? 1 : 0;
    case ColumnKind::Real:
        return value.toDouble();
    case ColumnKind::Other:
        break;
    }
    if (type == qMetaTypeId<Currency>())
        return value.value<Currency>().units();
    if (type == QMetaType::QDate)
        return value.toDate().toString(Qt::ISODate);
    return value;
}
