#pragma once

#include <QMainWindow>
#include <QtGlobal>

class DataGrid;
class Register;

// The window of the clients and suppliers: lists them by name and creates, edits
// and deletes them; deleting is refused while any deadline of any sheet refers to
// the one chosen. Opens without blocking, owned by the main window.
class CounterpartyList final : public QMainWindow
{
    Q_OBJECT
public:
    CounterpartyList(const QString &connectionString, Register &changes, QWidget *parent = nullptr);
    ~CounterpartyList() override;

    // Reads the rows again and shows the window in front.
    void showList();

    DataGrid *list() const { return m_list; }
    qint32 currentId() const;

public slots:
    void newCounterparty();
    void editCounterparty();
    void deleteCounterparty();
    // The File > Print command and its button; the report machinery prints the
    // list from here once it offers a print-out of the clients and suppliers.
    void printList();

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void buildMenusAndToolbar();
    void setUpList();
    void sizeColumns();
    void reload(qint32 currentId);
    void listKeyDown(int key, Qt::KeyboardModifiers modifiers, bool *consumed);

    QString m_connectionString;
    Register &m_changes;   // told of every write, the editor's too
    DataGrid *m_list = nullptr;
};
