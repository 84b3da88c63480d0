#include "platform/KeyFilters.h"

QChar filterDecimalKey(QChar key, const QLocale &locale)
{
    if ((key >= u'0' && key <= u'9') || key == u'\b' || key == u'\t' || key == u',')
        return key;
    // A point from the numeric keypad stands for the locale's decimal separator,
    // so "12.5" typed under a comma locale still means twelve and a half.
    if (key == u'.') {
        const QString separator = locale.decimalPoint();
        return separator.isEmpty() ? key : separator.at(0);
    }
    return {};
}

QChar filterDigitKey(QChar key)
{
    if ((key >= u'0' && key <= u'9') || key == u'\b' || key == u'\t')
        return key;
    return {};
}
