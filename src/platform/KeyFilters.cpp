#include "platform/KeyFilters.h"

#include "platform/LocaleDigits.h"

QChar filterDecimalKey(QChar key, const QLocale &locale)
{
    if ((key >= u'0' && key <= u'9') || key == u'\b' || key == u'\t' || key == u',')
        return key;
    // A point from the numeric keypad stands for the locale's decimal separator,
    // so "12.5" typed under a comma locale still means twelve and a half.
    const QString decimal = locale.decimalPoint();
    if (key == u'.')
        return decimal.isEmpty() ? key : decimal.at(0);
    // The locale's own digits and separators pass as the box shows them ("١٢٫٥٠").
    if (LocaleDigits::value(key.unicode(), locale) >= 0 || decimal == key || locale.groupSeparator() == key)
        return key;
    return {};
}

QChar filterDigitKey(QChar key, const QLocale &locale)
{
    if ((key >= u'0' && key <= u'9') || key == u'\b' || key == u'\t')
        return key;
    // The locale's own digit is typed as the plain one the count is read with.
    const int digit = LocaleDigits::value(key.unicode(), locale);
    if (digit >= 0)
        return QChar(u'0' + digit);
    return {};
}
