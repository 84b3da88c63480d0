#pragma once

#include "../support/TextTable.h"
#include "reports/ReportTexts.h"

#include <QLocale>

// The report's texts in "English" or "Italian" from the text table file, so report
// tests print the words users will read.
inline ReportTexts reportTextsIn(const QString &language)
{
    const QHash<int, QString> texts = textTableColumn(QStringLiteral(ORVEL_TEXTS_TSV), language);
    return ReportTexts([texts](int id) { return texts.value(id, QStringLiteral("<%1>").arg(id)); },
                       language == QLatin1String("Italian") ? QLocale(QLocale::Italian, QLocale::Italy)
                                                            : QLocale(QLocale::English, QLocale::UnitedStates));
}

inline ReportTexts englishReportTexts()
{
    return reportTextsIn(QStringLiteral("English"));
}
