#pragma once

#include <QDate>
#include <QLocale>
#include <QString>

// The locale's short date pattern with a four-digit year. Deadlines run over
// many years, and "06.04.24" cannot tell 2024 from 2124.
QString shortDatePattern(const QLocale &locale = QLocale());
QString shortDateText(const QDate &date, const QLocale &locale = QLocale());

