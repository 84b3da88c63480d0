#pragma once

#include <QDialog>

class ListHost;

// The editor of one existing deadline. Opens without blocking; the main window
// owns the single instance.
class frmScadenze : public QDialog
{
    Q_OBJECT
public:
    frmScadenze(ListHost &host, QWidget *parent = nullptr);
    ~frmScadenze() override;

    void Apri(qint32 rowId);
};
