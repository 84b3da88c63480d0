#pragma once

#include "store/ImportStore.h"

#include <QList>
#include <QString>

class Register;

// Stores a confirmed import in the sheet in one transaction, then announces the
// new rows and, when some were created, the clients/suppliers. Returns what was
// created, so that the whole import can be taken back as one step. Throws
// DbError, having written and announced nothing.
ImportStore::Imported writeImport(const QString &connectionString, Register &changes, qint32 sheetId,
                                  const QList<ImportRow> &rows);
