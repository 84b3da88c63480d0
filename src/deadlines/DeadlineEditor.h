#pragma once

#include "deadlines/DeadlineFields.h"

#include <QDialog>

#include <memory>

class Connection;
class DeadlineListHost;
class Session;
class QCheckBox;
class QDateEdit;
class QLabel;
class Recordset;
class UserActionGuard;

// The editor of one existing deadline. Opens without blocking; the main window owns
// the single instance. Only that row is written, and only on Save.
class DeadlineEditor : public QDialog
{
    Q_OBJECT
public:
    DeadlineEditor(DeadlineListHost &host, Session &session, QWidget *parent = nullptr);
    ~DeadlineEditor() override;

    // Shows the deadline with that TrRowId; tells the user when it is gone.
    void open(qint32 rowId);

public slots:
    void reject() override;   // Cancel and Esc: the pending changes are dropped

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    void showRecord();
    void save();
    void closeRecord();

    DeadlineListHost &m_host;
    Session &m_session;
    std::unique_ptr<Connection> m_connection;
    std::unique_ptr<Recordset> m_record;

    DeadlineFields m_fields;
    QDateEdit *m_dateEdit = nullptr;
    QCheckBox *m_doneCheck = nullptr;
    UserActionGuard *m_saveGuard = nullptr;
    QList<QLabel *> m_captions;   // type, date, description, client/supplier, amount, notes
};
