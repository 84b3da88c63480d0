#include "import/ImportWrite.h"

#include "mainwindow/ChangeCaptions.h"
#include "store/Register.h"
#include "store/RowChange.h"

#include <QFileInfo>

ImportStore::Imported writeImport(const QString &connectionString, Register &changes, qint32 sheetId,
                                  const QList<ImportRow> &rows, const QString &fileName)
{
    ImportStore store(connectionString);
    RowChange change;
    const ImportStore::Imported imported = store.importRows(sheetId, rows, &change);
    if (!imported.counterpartyIds.isEmpty())
        emit changes.counterpartiesChanged();
    if (!imported.rowIds.isEmpty())
        emit changes.deadlinesChanged(sheetId, imported.rowIds);
    changes.recordChange(ChangeCaption::caption(ChangeCaption::ImportFile, QFileInfo(fileName).fileName()),
                         std::move(change));
    return imported;
}
