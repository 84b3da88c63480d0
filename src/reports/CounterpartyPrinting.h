#pragma once

#include <QString>

class QPrinter;
class QWidget;

// Prints the list of clients and suppliers (name and notes, by name) after the
// print dialog, on the printer the user chooses there. False when the dialog was
// cancelled or nothing could be printed; a database error is reported to the
// user.
bool printCounterparties(QWidget *parent, const QString &connectionString);

// The same list on a printer already set up, without asking. Throws DbError.
bool printCounterpartyList(QPrinter &printer, const QString &connectionString);
