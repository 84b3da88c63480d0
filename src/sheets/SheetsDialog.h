#pragma once

#include <QDialog>
#include <QtGlobal>

class DataGrid;
class Session;

// The deadline sheets: lists them by name, makes one the active sheet (remembered
// for the next start), creates, renames and deletes them. A sheet goes together
// with its deadlines, and never the only sheet, the active one or sheet 1. Modal.
// Each change is announced to the session's register.
class SheetsDialog final : public QDialog
{
    Q_OBJECT
public:
    SheetsDialog(Session &session, QWidget *parent = nullptr);
    ~SheetsDialog() override;

    DataGrid *list() const { return m_list; }
    qint32 selectedId() const;
    QString selectedName() const;

    // The buttons' commands.
    void selectSheet();
    void createSheet();
    void renameSheet();
    void deleteSheet();

private:
    void reload(qint32 currentId);
    void listKeyDown(int key, Qt::KeyboardModifiers modifiers, bool *consumed);

    Session &m_session;
    DataGrid *m_list = nullptr;
};
