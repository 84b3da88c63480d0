#pragma once

#include "store/Backups.h"

#include <QDialog>
#include <QList>

class QLabel;
class QPushButton;
class QTreeWidget;
class Session;

// File > Restore from backup: the backups with their date, size and what they
// hold; Restore asks first (Enter answers No), then puts the chosen one in
// place of the register and the windows show it.
class RestoreDialog final : public QDialog
{
    Q_OBJECT

public:
    explicit RestoreDialog(Session &session, QWidget *parent = nullptr);

    // Asks, restores the current entry and says how it went; closes when restored.
    void restoreChosen();

private:
    void fill();

    Session &m_session;
    QLabel *m_folderLabel = nullptr;
    QTreeWidget *m_list = nullptr;
    QPushButton *m_restoreButton = nullptr;
    QList<Backups::Entry> m_entries;
};
