#pragma once

#include "export/ExportTexts.h"

#include <QFile>
#include <QHash>
#include <QMetaType>
#include <QString>
#include <QStringList>

// The exports' texts read straight from the program's text table file, so the tests
// see the wording a user sees without going through the program's text lookup.
enum class TableLanguage { Italian = 1, English = 2 };
Q_DECLARE_METATYPE(TableLanguage)

inline ExportTexts exportTextsFor(TableLanguage language)
{
    QHash<int, QString> texts;
    QFile file(QStringLiteral(ORVEL_TEXTS_TSV));
    if (file.open(QIODevice::ReadOnly)) {
        const QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
        for (const QString &line : lines) {
            const QStringList cells = line.split(u'\t');
            bool isId = false;
            const int id = cells.value(0).toInt(&isId);
            if (isId && cells.size() > int(language))
                texts.insert(id, cells.at(int(language)));
        }
    }
    return ExportTexts::fromTextTable([&texts](int id) { return texts.value(id); });
}
