#pragma once

#include "store/Currency.h"

#include <QDialog>

class DeadlineFormKeys;
class ListHost;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QStatusBar;
class QToolButton;
struct NewDeadlineRequest;

// The new-deadline window: one deadline or a recurrence, or more members for an
// existing recurrence group (Nuovo2). Opens without blocking; the main window owns
// the single instance. Save and Cancel hide it; every Nuovo/Nuovo2 starts afresh.
class frmScadenzeNuovo : public QDialog
{
    Q_OBJECT
public:
    frmScadenzeNuovo(ListHost &host, QWidget *parent = nullptr);
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
    void applyTypeRule();
    void chooseSingleOrRecurring(int option);
    void stepCount(int delta);
    void addCounterparty();
    void save();
    bool descriptionValid() const;
    bool amountValid() const;
    bool countValid() const;
    NewDeadlineRequest gatherRequest() const;
    void showWindow();

    ListHost &m_host;
    qint32 m_targetGroupId = 0;

    QComboBox *m_imgcmbData = nullptr;
    QLineEdit *m_txtDescription = nullptr;
    QComboBox *m_dtcData = nullptr;
    QToolButton *m_cmdAdd = nullptr;
    QLineEdit *m_txtAmount = nullptr;
    QPlainTextEdit *m_txtNotes = nullptr;
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
    QPushButton *m_cmdSalva = nullptr;
    QPushButton *m_cmdAnnulla = nullptr;
    QStatusBar *m_sb = nullptr;
    DeadlineFormKeys *m_keys = nullptr;
};
