#pragma once

#include <QDate>
#include <QString>
#include <QtGlobal>

#include <stdexcept>

// Realistic test databases for developers: sheets, a few hundred clients and
// suppliers, and any number of deadlines (single and recurring, every type and
// cadence, past and future, open and closed). Shared by the sample-data tool and
// the list benchmark.
namespace SampleData {

struct Options
{
    int rows = 1000;          // deadlines to write
    quint32 seed = 1;         // same seed, same database
    QDate today;              // centre of the generated dates; invalid: the current date
    int counterparties = 300;
    int firstSheetPercent = 70;   // share of the deadlines on sheet 1, the rest on the others
};

struct Summary
{
    int sheets = 0;
    int counterparties = 0;
    int deadlines = 0;
    int groups = 0;
};

class Error : public std::runtime_error
{
public:
    explicit Error(const QString &text) : std::runtime_error(text.toStdString()) {}
};

// Copies the template database to target (refusing an existing file unless
// overwrite) and fills it. Throws Error.
Summary createDatabase(const QString &templatePath, const QString &target, const Options &options,
                       bool overwrite = false);

// Fills an existing database (a copy of the template) in one transaction,
// writing straight to the SQLite file in the store's conventions: dates as
// 'yyyy-MM-dd' text, money as integer ten-thousandths, yes/no as 1/0. Throws Error.
Summary fill(const QString &databasePath, const Options &options);

} // namespace SampleData
