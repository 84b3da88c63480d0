#pragma once

#include "deadlines/DeadlineFields.h"
#include "store/DeadlineStore.h"

#include <QDialog>

#include <optional>

class Session;
class QCheckBox;
class DateBox;
class QLabel;
class UserActionGuard;

// The editor of one existing deadline. Opens without blocking; the main window owns
// the single instance. Only that row is written, only on Save, and only the
// columns whose controls the user changed; a save is announced to the session's
// register.
class DeadlineEditor : public QDialog
{
    Q_OBJECT
public:
    DeadlineEditor(Session &session, QWidget *parent = nullptr);
    ~DeadlineEditor() override;

    // Shows the deadline with that TrRowId; tells the user when it is gone.
    void open(qint32 rowId);

public slots:
    void reject() override;   // Cancel and Esc: the pending changes are dropped

signals:
    // After the save was announced: the deadline written, for the list to make current.
    void deadlineSaved(qint32 rowId);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    using EditedColumn = DeadlineStore::EditedColumn;
    // Puts the stored values of the columns into their controls (all when empty).
    void showStored(const QList<EditedColumn> &columns = {});
    void save();
    DeadlineStore::DeadlineChanges gatherChanges() const;
    void closeRecord();

    Session &m_session;
    std::optional<DeadlineStore::StoredDeadline> m_stored;   // the row as last read
    // What each column's control showed when it was filled.
    struct Shown
    {
        QDate date;
        QString description;
        qint32 acId = 0;
        QString amount;
        QString notes;
        bool done = false;
    } m_shown;

    DeadlineFields m_fields;
    DateBox *m_dateEdit = nullptr;
    QCheckBox *m_doneCheck = nullptr;
    UserActionGuard *m_saveGuard = nullptr;
    QList<QLabel *> m_captions;   // type, date, description, client/supplier, amount, notes
};
