#pragma once

#include "../support/TextTable.h"
#include "export/ExportTexts.h"

#include <QMetaType>

// The exports' texts read straight from the program's text table file, so the tests
// see the wording a user sees without going through the program's text lookup.
enum class TableLanguage { Italian, English };
Q_DECLARE_METATYPE(TableLanguage)

inline ExportTexts exportTextsFor(TableLanguage language)
{
    const QHash<int, QString> texts = textTableColumn(
        QStringLiteral(ORVEL_TEXTS_TSV), language == TableLanguage::Italian ? QStringLiteral("Italian") : QStringLiteral("English"));
    return ExportTexts::fromTextTable([&texts](int id) { return texts.value(id); });
}
