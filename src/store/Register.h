#pragma once

#include <QObject>
#include <QtGlobal>

// Tells the windows what changed in the open register. A writer announces once
// per user action, after its write committed; a failed or rolled-back write
// announces nothing. The listeners decide what to read again.
class Register final : public QObject
{
    Q_OBJECT
public:
    explicit Register(QObject *parent = nullptr);

signals:
    void deadlinesChanged(qint32 sheetId);     // rows of that sheet were added, changed or deleted
    void counterpartiesChanged();              // a client/supplier was added, changed or deleted
    void sheetsChanged();                      // a sheet was added, renamed or deleted
    void activeSheetChanged(qint32 sheetId);   // that sheet is now the one shown (chosen again, too)
};
