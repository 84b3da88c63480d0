#pragma once

#include "deadlines/DeadlineFields.h"
#include "store/Currency.h"
#include "store/DeadlineStore.h"

#include <QDialog>

class Session;
class QComboBox;
class DateBox;
class QLineEdit;
class QRadioButton;
class QToolButton;
class UserActionGuard;

// The new-deadline window: one deadline or a recurrence, or more members for an
// existing recurrence group. Opens without blocking; the main window owns the
// single instance. Save and Cancel hide it; every opening starts afresh. A save
// is announced to the session's register.
class NewDeadlineWindow : public QDialog
{
    Q_OBJECT
public:
    NewDeadlineWindow(Session &session, QWidget *parent = nullptr);
    ~NewDeadlineWindow() override;

    // An empty window for a new deadline or recurrence.
    void openBlank();
    // New members for the recurrence group grpId: type, description and
    // client/supplier come from the group and cannot be changed.
    void openForGroup(int trType, const QString &description, qint32 acId, Currency value, qint32 grpId);

    qint32 targetGroupId() const { return m_targetGroupId; }

public slots:
    void reject() override;   // Cancel and Esc: nothing is written

signals:
    // After the save was announced: the first deadline written, for the list to make current.
    void deadlineSaved(qint32 rowId);

private:
    void buildControls();
    void resetToLoadState();
    void refillCounterparties();
    void chooseSingleOrRecurring(int option);
    void stepCount(int delta);
    void save();
    int typedCount(bool *ok) const;
    bool countValid() const;
    DeadlineStore::NewDeadlines gatherDeadlines() const;
    void showWindow();

    Session &m_session;
    qint32 m_targetGroupId = 0;

    DeadlineFields m_fields;
    QRadioButton *m_singleOption = nullptr;
    QRadioButton *m_recurringOption = nullptr;
    QWidget *m_singlePanel = nullptr;
    QWidget *m_recurringPanel = nullptr;
    DateBox *m_singleDate = nullptr;
    DateBox *m_firstDate = nullptr;
    QLineEdit *m_countBox = nullptr;
    QToolButton *m_countUp = nullptr;
    QToolButton *m_countDown = nullptr;
    QComboBox *m_cadenceCombo = nullptr;
    UserActionGuard *m_saveGuard = nullptr;
};
