#pragma once

#include <QChar>
#include <QLocale>

// Key filters of the amount and count fields. They see one typed character and
// answer what reaches the field: the same character, a replacement, or nothing
// (a null QChar). Backspace (\b) and tab (\t) always pass.
QChar filterDecimalKey(QChar key, const QLocale &locale = QLocale());
QChar filterDigitKey(QChar key);
