#pragma once

#include "../support/TextTable.h"
#include "export/ExportTexts.h"
#include "export/TextExport.h"

// The exports' texts read straight from the program's text table file, so the tests
// see the wording a user sees without going through the program's text lookup.
enum class TableLanguage { Italian, English };

inline ExportTexts exportTextsFor(TableLanguage language)
{
    const QHash<int, QString> texts = textTableColumn(
        QStringLiteral(ORVEL_TEXTS_TSV), language == TableLanguage::Italian ? QStringLiteral("Italian") : QStringLiteral("English"));
    return ExportTexts::fromTextTable([&texts](int id) { return texts.value(id); });
}

// A deadline as the list hands it to the exports; amount in ten-thousandths.
inline ListedDeadline listedDeadline(int type, bool done, const QDate &date, const QString &shown, qint64 units,
                                     const QString &counterparty = {}, const QString &counterpartyNotes = {})
{
    ListedDeadline row;
    row.type = type;
    row.done = done;
    row.date = date;
    row.shownDescription = shown;
    row.description = shown;
    row.amount = Currency::fromUnits(units);
    row.balance = Currency::fromUnits(type == -2 ? 0 : units * type);
    row.counterpartyName = counterparty;
    row.counterpartyNotes = counterpartyNotes;
    return row;
}
