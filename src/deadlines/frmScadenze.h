#pragma once

#include "deadlines/DeadlineFields.h"

#include <QDialog>

#include <memory>

class Connection;
class ListHost;
class Session;
class QCheckBox;
class QDateEdit;
class QLabel;
class Recordset;

// The editor of one existing deadline. Opens without blocking; the main window owns
// the single instance. Only that row is written, and only on Save.
class frmScadenze : public QDialog
{
    Q_OBJECT
public:
    frmScadenze(ListHost &host, Session &session, QWidget *parent = nullptr);
    ~frmScadenze() override;

    void Apri(qint32 rowId);
    void InitCombos();

public slots:
    void reject() override;   // Cancel and Esc: the pending changes are dropped

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    void showRecord();
    void save();
    void closeRecord();

    ListHost &m_host;
    Session &m_session;
    std::unique_ptr<Connection> m_connection;
    std::unique_ptr<Recordset> m_record;

    DeadlineFields m_fields;
    QDateEdit *m_datData = nullptr;
    QCheckBox *m_chkData = nullptr;
    QList<QLabel *> m_lblData;
};
