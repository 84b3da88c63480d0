#pragma once

#include "store/Currency.h"

#include <QDialog>

class ListHost;

// The new-deadline window: one deadline or a recurrence, or more members for an
// existing recurrence group (Nuovo2). Opens without blocking; the main window owns
// the single instance.
class frmScadenzeNuovo : public QDialog
{
    Q_OBJECT
public:
    frmScadenzeNuovo(ListHost &host, QWidget *parent = nullptr);
    ~frmScadenzeNuovo() override;

    void Nuovo();
    void Nuovo2(int trType, const QString &description, qint32 acId, Currency value, qint32 grpId);
};
