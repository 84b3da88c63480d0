#pragma once

#include "reports/ReportTexts.h"

#include <QFile>
#include <QHash>
#include <QLocale>
#include <QString>
#include <QStringList>
#include <QTextStream>

// The program's text table read straight from its source file, one language
// column at a time, so report tests print the words users will read.
inline ReportTexts::Lookup reportTestLookup(const QString &language)
{
    QHash<int, QString> texts;
    QFile file(QStringLiteral(ORVEL_TEXTS_TSV));
    if (file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        QTextStream in(&file);
        in.setEncoding(QStringConverter::Utf8);
        const QStringList header = in.readLine().split(QLatin1Char('\t'));
        const qsizetype column = header.indexOf(language);
        while (!in.atEnd()) {
            const QStringList fields = in.readLine().split(QLatin1Char('\t'));
            bool ok = false;
            const int id = fields.value(0).toInt(&ok);
            if (ok && column > 0)
                texts.insert(id, fields.value(column));
        }
    }
    return [texts](int id) { return texts.value(id, QStringLiteral("<%1>").arg(id)); };
}

inline ReportTexts englishReportTexts()
{
    return ReportTexts(reportTestLookup(QStringLiteral("English")),
                       QLocale(QLocale::English, QLocale::UnitedStates));
}

inline ReportTexts italianReportTexts()
{
    return ReportTexts(reportTestLookup(QStringLiteral("Italian")), QLocale(QLocale::Italian, QLocale::Italy));
}
