#pragma once

#include <QFile>
#include <QHash>
#include <QString>
#include <QStringList>

// One language's column ("English", as the header names it) of the program's text
// table file, read straight from the file so tests see the words users read
// without going through the program's own lookup.
inline QHash<int, QString> textTableColumn(const QString &path, const QString &language)
{
    QHash<int, QString> texts;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return texts;
    const QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
    const qsizetype column = lines.value(0).split(u'\t').indexOf(language);
    for (const QString &line : lines) {
        const QStringList cells = line.split(u'\t');
        bool isId = false;
        const int id = cells.value(0).toInt(&isId);
        if (isId && column > 0)
            texts.insert(id, cells.value(column));
    }
    return texts;
}
