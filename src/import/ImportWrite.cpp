#include "import/ImportWrite.h"

#include "store/Register.h"

ImportStore::Imported writeImport(const QString &connectionString, Register &changes, qint32 sheetId,
                                  const QList<ImportRow> &rows)
{
    ImportStore store(connectionString);
    const ImportStore::Imported imported = store.importRows(sheetId, rows);
    if (!imported.counterpartyIds.isEmpty())
        emit changes.counterpartiesChanged();
    if (!imported.rowIds.isEmpty())
        emit changes.deadlinesChanged(sheetId, imported.rowIds);
    return imported;
}
