#pragma once

#include <QDialog>
#include <QtGlobal>

class QLabel;
class QLineEdit;
class QPushButton;
class QStatusBar;
class Register;

// The small modal dialog that creates one client/supplier or edits one: a name
// that cannot be left empty and is limited to the column's defined length, and
// free notes. Each call shows it modally and returns once the user saved or
// cancelled; a database error is shown and the dialog stays filled. A save is
// announced to the register.
class CounterpartyEditor final : public QDialog
{
    Q_OBJECT
public:
    CounterpartyEditor(const QString &connectionString, Register &changes, QWidget *parent = nullptr);
    ~CounterpartyEditor() override;

    // Creates one, the name box pre-filled with name; the new AcId, or 0 after Cancel.
    qint32 createNew(const QString &name = {});
    // Edits the row id; true when the user saved.
    bool edit(qint32 id);

    QLineEdit *nameBox() const { return m_name; }
    QLineEdit *notesBox() const { return m_notes; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void prepare(int titleId);
    void save();
    void focusChanged(QWidget *old, QWidget *now);
    bool nameHolds() const;

    QString m_connectionString;
    Register &m_changes;
    qint32 m_id = 0;          // the row being edited; 0 while creating
    qint32 m_resultId = 0;
    QLineEdit *m_name = nullptr;
    QLineEdit *m_notes = nullptr;
    QPushButton *m_save = nullptr;
    QPushButton *m_cancel = nullptr;
    QStatusBar *m_statusBar = nullptr;
};
