#pragma once

#include <QList>
#include <QObject>
#include <QtGlobal>

#include <memory>

class RowChange;
class QString;

// Tells the windows what changed in the open register. A writer announces once
// per user action, after its write committed; a failed or rolled-back write
// announces nothing. The listeners decide what to read again.
class Register final : public QObject
{
    Q_OBJECT
public:
    explicit Register(QObject *parent = nullptr);

    // Sends changeRecorded for a committed change, unless it changed nothing.
    void recordChange(const QString &caption, RowChange &&change);

signals:
    // Rows of that sheet were added, changed or deleted. rowIds names every row
    // the write touched (a renumbered recurrence's members too), so a list can read
    // only those again; an empty list means any row of the sheet may have changed.
    void deadlinesChanged(qint32 sheetId, const QList<qint32> &rowIds = {});
    void counterpartiesChanged();              // a client/supplier was added, changed or deleted
    void sheetsChanged();                      // a sheet was added, renamed or deleted
    void activeSheetChanged(qint32 sheetId);   // that sheet is now the one shown (chosen again, too)
    // A committed write that can be undone, with what the Edit menu calls it
    // ("Close 'Rent 3 of 12'"); sent beside the signals above, never instead.
    void changeRecorded(const QString &caption, const std::shared_ptr<const RowChange> &change);
};
