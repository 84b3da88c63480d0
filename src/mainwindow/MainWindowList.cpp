// The deadline list: the sheet's rows and what each view shows of them, the empty-list panel, the layouts and the
// view box.
#include "mainwindow/MainWindow.h"

#include "mainwindow/DeadlineList.h"
#include "platform/Clock.h"
#include "platform/grid/DataGrid.h"
#include "platform/Prompts.h"
#include "startup/Session.h"
#include "store/DbError.h"
#include "store/DeadlineStore.h"

#include <QAction>
#include <QComboBox>
#include <QFrame>

void MainWindow::readSheet(const QList<qint32> &rowIds)
{
    const qint32 sheetId = m_session.activeSheetId();
    for (;;) {
        try {
            DeadlineStore store(m_session.connectionString());
            // Only the rows a write names, when the sheet's rows are already held.
            if (!rowIds.isEmpty() && m_sheetRows.sheetId() == sheetId)
                m_freshRows = m_sheetRows.reread(store, rowIds);
            else
                m_freshSheet = m_sheetRows.load(store, sheetId);
            return;
        } catch (const DbError &error) {
            // Asked only once the window is up; during its load the list stays empty.
            if (m_listReady && reportError(error))
                continue;
            if (m_sheetRows.sheetId() != sheetId) {
                m_sheetRows.clear();
                m_freshSheet = GridRecords{listFieldNames(), std::vector<std::vector<QVariant>>(ListColumn::Fields), 0};
            }
            return;
        }
    }
}

void MainWindow::refreshList(int view)
{
    m_listPresenter.setWarningHorizon(m_session.warnLimitDate());
    m_listPresenter.setViewCaption(m_viewCombo->currentText());
    // The filter comes from the combo box: every caller passes its index. Should
    // it sit on the calendar row while a caller asks for a fixed view, that view
    // decides.
    int viewRow = m_viewCombo->currentIndex();
    if (view < CalendarView && (viewRow < 0 || viewRow >= CalendarView))
        viewRow = std::max(view, 0);
    const QDate first = selectionStart();
    const QDate last = selectionEnd();
    GridModel::Layout layout;
    layout.shows = [viewRow, first, last](const GridRow &row) {
        using namespace ListColumn;
        // A row of Nulls held the place of a deadline that left the sheet.
        return row.field(TrRowId).isValid()
            && viewShows(viewRow, row.field(TrDone).toBool(), row.field(TrType).toInt(), row.field(TrDate).toDate(),
                         first, last);
    };
    // The groups of the layout are set with the rows in one pass, so the rows are
    // never ordered under the previous layout's groups; the current deadline is
    // found again by its row id, not by its place in the list.
    layout.groups = {{ListColumn::TrDbId, true}};
    const int groupOption = m_session.display().groupOption;
    if (groupOption == 1 || groupOption == 2)
        layout.groups.append({ListColumn::GroupKey, true});
    else if (groupOption == 3)
        layout.groups.append({ListColumn::AcName, true});
    // The group key column depends on the layout and the day.
    const std::pair<int, QDate> computedFor{groupOption, Clock::today()};
    const bool recompute = computedFor != m_computedFor;
    m_computedFor = computedFor;

    // Painting stays off while the rows and groups change, as a hidden grid would.
    const bool painting = m_list->updatesEnabled();
    m_list->setUpdatesEnabled(false);
    GridModel *model = m_list->model();
    model->setKeyColumn(ListColumn::TrRowId);
    if (std::optional<GridRecords> sheet = std::exchange(m_freshSheet, std::nullopt)) {
        model->setRecords(std::move(*sheet), layout);
    } else if (std::optional<SheetDeadlines::Changes> changes = std::exchange(m_freshRows, std::nullopt)) {
        model->changeRows(changes->bookmarks, std::move(changes->rows), layout);
    } else {
        model->setLayout(layout, recompute);
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

