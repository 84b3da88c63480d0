#pragma once

#include "deadlines/DeadlineFields.h"
#include "store/Currency.h"

#include <QDialog>

class ListHost;
class Session;
class QComboBox;
class QDateEdit;
class QLineEdit;
class QRadioButton;
class QToolButton;
struct NewDeadlineRequest;

// The new-deadline window: one deadline or a recurrence, or more members for an
// existing recurrence group (Nuovo2). Opens without blocking; the main window owns
// the single instance. Save and Cancel hide it; every Nuovo/Nuovo2 starts afresh.
class frmScadenzeNuovo : public QDialog
{
    Q_OBJECT
public:
    frmScadenzeNuovo(ListHost &host, Session &session, QWidget *parent = nullptr);
    ~frmScadenzeNuovo() override;

    void Nuovo();
    void Nuovo2(int trType, const QString &description, qint32 acId, Currency value, qint32 grpId);

    // Refills the client/supplier list from the Accounts table. Throws DbError.
    void InitCombos();
    qint32 targetGroupId() const { return m_targetGroupId; }

public slots:
    void reject() override;   // Cancel and Esc: nothing is written

private:
    void buildControls();
    void resetToLoadState();
    void chooseSingleOrRecurring(int option);
    void stepCount(int delta);
    void save();
    bool countValid() const;
    NewDeadlineRequest gatherRequest() const;
    void showWindow();

    ListHost &m_host;
    Session &m_session;
    qint32 m_targetGroupId = 0;

    DeadlineFields m_fields;
    QRadioButton *m_optSingle = nullptr;
    QRadioButton *m_optRecurring = nullptr;
    QWidget *m_picSingle = nullptr;
    QWidget *m_picRecurring = nullptr;
    QDateEdit *m_datSingle = nullptr;
    QDateEdit *m_datFirst = nullptr;
    QLineEdit *m_txtCount = nullptr;
    QToolButton *m_upDownUp = nullptr;
    QToolButton *m_upDownDown = nullptr;
    QComboBox *m_cmbCadenza = nullptr;
};
