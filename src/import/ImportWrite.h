#pragma once

#include "store/ImportStore.h"

#include <QList>
#include <QString>

class Register;

// Stores a confirmed import in the sheet in one transaction, then announces the
// new rows and, when some were created, the clients/suppliers, and records the
// whole import as one step of Undo named after the file. Returns what was
// created. Throws DbError, having written and announced nothing.
ImportStore::Imported writeImport(const QString &connectionString, Register &changes, qint32 sheetId,
                                  const QList<ImportRow> &rows, const QString &fileName = QString());
