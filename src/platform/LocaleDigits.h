#pragma once

#include <QLocale>
#include <QString>

// The ten digits a locale writes, from its zero digit on ("١٢" in Egyptian
// Arabic, "১২" in Bengali). Readers of typed numbers and dates take them as
// well as 0-9, since a box shows the locale's digits and must read them back.
namespace LocaleDigits {

// 0 to 9 for an ASCII digit or one of the locale's own digits; -1 otherwise.
int value(char32_t c, const QLocale &locale);
// The text with the locale's own digits written as 0-9; the rest as it was.
QString toAscii(const QString &text, const QLocale &locale);
// The text with 0-9 written as the locale's own digits; the rest as it was.
QString fromAscii(const QString &text, const QLocale &locale);

} // namespace LocaleDigits
