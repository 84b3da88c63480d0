#pragma once

#include <QDialog>

class DeadlineListHost;
class QDateEdit;
class Session;

// Deletes every closed deadline of the active sheet dated on or before a picked
// date (yesterday to begin with), after telling how many that is and asking.
// Modal; closes itself after Continue or Cancel.
class PurgeDialog final : public QDialog
{
    Q_OBJECT
public:
    PurgeDialog(DeadlineListHost &host, Session &session, QWidget *parent = nullptr);
    ~PurgeDialog() override;

    QDateEdit *datePicker() const { return m_date; }
    // The Continue button's command: count, ask, delete, report, refresh, close.
    void proceed();

private:
    DeadlineListHost &m_host;
    Session &m_session;
    QDateEdit *m_date = nullptr;
};
