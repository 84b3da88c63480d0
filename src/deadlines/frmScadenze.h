#pragma once

#include <QDialog>

#include <memory>

class Connection;
class DeadlineFormKeys;
class ListHost;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QStatusBar;
class QToolButton;
class Recordset;

// The editor of one existing deadline. Opens without blocking; the main window owns
// the single instance. Only that row is written, and only on Save.
class frmScadenze : public QDialog
{
    Q_OBJECT
public:
    frmScadenze(ListHost &host, QWidget *parent = nullptr);
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
    void applyTypeRule();
    void addCounterparty();
    void save();
    void closeRecord();
    bool descriptionValid() const;
    bool amountValid() const;

    ListHost &m_host;
    std::unique_ptr<Connection> m_connection;
    std::unique_ptr<Recordset> m_record;

    QComboBox *m_imgcmbData = nullptr;
    QDateEdit *m_datData = nullptr;
    QLineEdit *m_txtDescription = nullptr;
    QComboBox *m_dtcData = nullptr;
    QToolButton *m_cmdAdd = nullptr;
    QLineEdit *m_txtAmount = nullptr;
    QPlainTextEdit *m_txtNotes = nullptr;
    QCheckBox *m_chkData = nullptr;
    QPushButton *m_cmdSalva = nullptr;
    QPushButton *m_cmdAnnulla = nullptr;
    QStatusBar *m_sb = nullptr;
    QList<QLabel *> m_lblData;
    DeadlineFormKeys *m_keys = nullptr;
};
