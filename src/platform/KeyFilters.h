#pragma once

#include <QChar>
#include <QLocale>

// Key filters of the amount and count fields. They see one typed character and
// answer what reaches the field: the same character, a replacement, or nothing
// (a null QChar). Backspace (\b) and tab (\t) always pass, and so do the digits
// of the locale's own script besides 0-9 (the digit filter turns them into 0-9).
QChar filterDecimalKey(QChar key, const QLocale &locale = QLocale());
QChar filterDigitKey(QChar key, const QLocale &locale = QLocale());
