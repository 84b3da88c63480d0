#pragma once

#include "export/ExportTexts.h"
#include "export/ListedDeadline.h"
#include "store/Currency.h"

#include <QByteArray>
#include <QList>
#include <QLocale>
#include <QString>
#include <QStringConverter>

// The listed deadlines as tab-separated text that a spreadsheet opens with the right
// columns: a header line of the eight captions, then one line per deadline with every
// field in double quotes; CR LF after every line, the last one included. A double
// quote inside a field is doubled, so a field with quotes, tabs or line breaks reads
// back whole. Dates take the locale's short form with a four-digit year, amounts
// generalNumberText().
QString exportText(const QList<ListedDeadline> &rows, const ExportTexts &texts,
                   const QLocale &locale = QLocale());

// The text as the bytes of the file: by default in the user's system encoding (UTF-8
// where that is the system's), so the spreadsheet of the same system reads the
// accents right.
QByteArray encodeExportText(const QString &text,
                            QStringConverter::Encoding encoding = QStringConverter::System);

// An amount as a spreadsheet reads a plain number in this locale: no grouping, the
// locale's decimal separator, only the decimals the value needs, a leading "-" when
// negative ("12,5", "-100", "0,0001"). Exact at every size.
QString generalNumberText(Currency value, const QLocale &locale = QLocale());

// The locale's short date pattern with the year widened to four digits: deadlines
// run over many years, and "06.04.24" cannot tell 2024 from 2124.
QString fourDigitYearDatePattern(const QLocale &locale = QLocale());
