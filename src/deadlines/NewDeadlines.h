#pragma once

#include "store/Currency.h"

#include <QChar>
#include <QDate>
#include <QString>

#include <optional>

// What the new-deadline window writes, kept free of widgets so the statements and
// the transaction can be checked on their own.

// The values every new deadline of one save shares. Texts are as typed; the
// statement builders quote them.
struct NewDeadlineValues
{
    qint32 sheetId = 1;
    int trType = -2;          // 1 credit, -1 debit, -2 appointment
    QString description;
    QString notes;
    qint32 acId = 0;
    Currency amount;          // ignored for an appointment, which always saves 0

    Currency value() const;   // the amount, or 0 for an appointment
    Currency balance() const; // value x type
};

struct NewDeadlineRequest
{
    NewDeadlineValues values;
    bool recurring = false;
    QDate date;               // the single deadline's date, or the first member's
    int cadence = 0;          // position in the cadence list
    int count = 2;            // members of the recurrence
    qint32 targetGroupId = 0; // the group to join (0: a new, independent deadline)
};

// Writes the request on a connection of its own, in one transaction with any
// renumbering of an extended group: on a DbError nothing of the batch stays in the
// database. Returns the TrRowId of the first deadline written (the single one, or
// the first member by date); nothing, with nothing written, when the chosen
// client/supplier was deleted meanwhile. Throws DbError.
std::optional<qint32> saveNewDeadlines(const QString &connectionString, const NewDeadlineRequest &request);
