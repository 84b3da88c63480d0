// The deadline list: its query by view, the empty-list panel, the layouts and the
// view box.
#include "mainwindow/MainWindow.h"

#include "mainwindow/DeadlineList.h"
#include "platform/Clock.h"
#include "platform/grid/DataGrid.h"
#include "platform/Prompts.h"
#include "startup/Session.h"
#include "store/Database.h"

#include <QAction>
#include <QComboBox>
#include <QFrame>

void MainWindow::refreshList(int view)
{
    m_listPresenter.setWarningHorizon(m_session.warnLimitDate());
    m_listPresenter.setViewCaption(m_viewCombo->currentText());
    // The filter comes from the combo box: every caller passes its index.
    const QString sql = listQueryText(view, m_viewCombo->currentIndex(), m_session.activeSheetId(), selectionStart(),
                                      selectionEnd());
    // Painting stays off while the rows and groups change, as a hidden grid would.
    const bool painting = m_list->updatesEnabled();
    m_list->setUpdatesEnabled(false);
    // The groups of the layout are set with the rows in one pass, so the rows are
    // never ordered under the previous layout's groups; the current deadline is
    // found again by its row id, not by its place in the list.
    QList<GridSortKey> groups{{ListColumn::TrDbId, true}};
    const int groupOption = m_session.display().groupOption;
    if (groupOption == 1 || groupOption == 2)
        groups.append({ListColumn::GroupKey, true});
    else if (groupOption == 3)
        groups.append({ListColumn::AcName, true});
    GridModel *model = m_list->model();
    model->setKeyColumn(ListColumn::TrRowId);
    for (;;) {
        try {
            m_list->setConnectionString(m_session.connectionString());
            m_list->setRecordSource(sql);
            model->requery(groups);
            break;
        } catch (const DbError &error) {
            // Asked only once the window is up; during its load the list stays empty.
            if (m_listReady && reportError(error))
                continue;
            model->setGroups(groups);
            break;
        }
    }
    updateNotesPanel();
    m_list->setUpdatesEnabled(painting);
}

void MainWindow::updateEmptyListPanel()
{
    const bool empty = m_list->rowCount() == 0;
    if (empty) {
        m_emptyListPanel->adjustSize();
        const QRect grid = m_list->geometry();
        m_emptyListPanel->move(grid.x() + (grid.width() - m_emptyListPanel->width()) / 2,
                               grid.y() + (grid.height() - m_emptyListPanel->height()) / 2);
        m_emptyListPanel->raise();
    }
    m_emptyListPanel->setVisible(empty);
}

void MainWindow::chooseLayout(int layout)
{
    if (layout < 0 || layout > 3)
        return;
    showLayoutChoice(layout);
    m_session.display().groupOption = layout;
    refreshList(m_viewCombo->currentIndex());
}

void MainWindow::expandAll()
{
    m_list->model()->expandAll();
}

void MainWindow::collapseAll()
{
    GridModel *model = m_list->model();
    model->collapseAll();
    // The sheet's group row opens again so the period, month or counterparty
    // groups stay listed.
    if (m_session.display().groupOption >= 1 && model->rowCount() >= 1)
        model->setExpanded(1, true);
}

void MainWindow::chooseView(int index)
{
    if (!m_listReady)
        return;
    refreshList(index);
    m_list->focusList();
    updateEmptyListPanel();
}

bool MainWindow::handleLayoutKey(int key, Qt::KeyboardModifiers modifiers)
{
    if (!(modifiers & Qt::ControlModifier) || key < Qt::Key_1 || key > Qt::Key_4)
        return false;
    chooseLayout(key - Qt::Key_1);
    return true;
}

