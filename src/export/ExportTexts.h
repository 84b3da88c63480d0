#pragma once

#include <QString>

#include <array>
#include <functional>

// The user-language texts the exports write, passed in by the caller so the exports
// need no text lookup of their own.
struct ExportTexts
{
    // Column captions in file order: type, done, date, description, amount, total,
    // client/supplier, client/supplier notes.
    std::array<QString, 8> captions;
    QString credit;
    QString debit;
    QString appointment;
    QString closed;
    QString open;
    QString counterWord;   // between position and size of a recurrence: "3 of 12"
    QString outOfRange;    // in place of an amount the file holds out of range

    // Fills every text from the text table through lookup(id).
    static ExportTexts fromTextTable(const std::function<QString(int id)> &lookup);

    // The name of a TrType value; empty for a value that names no type.
    QString typeName(int type) const;
    QString stateName(bool done) const;
};
