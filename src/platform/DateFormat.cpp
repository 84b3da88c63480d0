#include "platform/DateFormat.h"

#include <QRegularExpression>

QString shortDatePattern(const QLocale &locale)
{
    QString pattern = locale.dateFormat(QLocale::ShortFormat);
    // Any run of y's is the year; make it the full one.
    static const QRegularExpression year(QStringLiteral("y+"));
    pattern.replace(year, QStringLiteral("yyyy"));
    return pattern;
}

QString shortDateText(const QDate &date, const QLocale &locale)
{
    return locale.toString(date, shortDatePattern(locale));
}
