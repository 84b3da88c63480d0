#pragma once

#include <QDialog>

class DateBox;
class Session;

// Deletes every closed deadline of the active sheet dated on or before a picked
// date (yesterday to begin with), after telling how many that is and asking.
// Modal; closes itself after Continue or Cancel. A purge is announced to the
// session's register.
class PurgeDialog final : public QDialog
{
    Q_OBJECT
public:
    PurgeDialog(Session &session, QWidget *parent = nullptr);
    ~PurgeDialog() override;

    DateBox *datePicker() const { return m_date; }
    // The Continue button's command: count, ask, delete, report, announce, close.
    void proceed();

private:
    Session &m_session;
    DateBox *m_date = nullptr;
};
