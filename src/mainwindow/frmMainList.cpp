// The deadline list: its query by view, its layouts and what the grid shows row
// by row (computed columns, texts, pictures, styles and group captions).
#include "mainwindow/frmMain.h"

#include "mainwindow/DeadlineList.h"
#include "platform/Clock.h"
#include "platform/grid/DataGrid.h"
#include "platform/Prompts.h"
#include "startup/mainmod.h"
#include "store/comDataBase.h"

#include <QAction>
#include <QComboBox>
#include <QFrame>

void frmMain::gexUpdate(int view)
{
    m_listPresenter.setWarningHorizon(WarnLimitDate(Clock::today(), mainmod::WarnDays));
    m_listPresenter.setViewCaption(m_cmbFilter->currentText());
    // The filter comes from the combo box: every caller passes its index.
    const QString sql = ListQueryText(view, m_cmbFilter->currentIndex(), mainmod::ActiveSheetId, selectionStart(),
                                      selectionEnd());
    // Painting stays off while the rows and groups change, as a hidden grid would.
    const bool painting = m_gex->updatesEnabled();
    m_gex->setUpdatesEnabled(false);
    GridModel *model = m_gex->model();
    try {
        m_gex->setConnectionString(mainmod::ConnectionString);
        m_gex->setRecordSource(sql);
        m_gex->requery();
    } catch (const DbError &error) {
        if (m_listReady)
            ReportDbError(error);
    }
    model->clearGroups();
    model->addGroup(ListColumn::TrDbId, true);
    if (mainmod::GroupOption == 1 || mainmod::GroupOption == 2)
        model->addGroup(ListColumn::GroupKey, true);
    else if (mainmod::GroupOption == 3)
        model->addGroup(ListColumn::AcName, true);
    UpdateNotesPanel();
    m_gex->setUpdatesEnabled(painting);
}

void frmMain::picStartVisible()
{
    const bool empty = m_gex->rowCount() == 0;
    if (empty) {
        m_picStart->adjustSize();
        const QRect grid = m_gex->geometry();
        m_picStart->move(grid.x() + (grid.width() - m_picStart->width()) / 2,
                         grid.y() + (grid.height() - m_picStart->height()) / 2);
        m_picStart->raise();
    }
    m_picStart->setVisible(empty);
}

void frmMain::mnuGroupby_Click(int index)
{
    if (index < 0 || index > 3)
        return;
    showLayoutChoice(index);
    mainmod::GroupOption = index;
    gexUpdate(m_cmbFilter->currentIndex());
}

void frmMain::showLayoutChoice(int index)
{
    for (int i = 0; i < int(m_mnuGroupby.size()); ++i)
        m_mnuGroupby[i]->setChecked(i == index);
    for (int i = 6; i <= 9; ++i)
        m_tbLayoutButtons[i]->setChecked(i == index + 6);
}

void frmMain::ExpandAll()
{
    m_gex->model()->expandAll();
}

void frmMain::CollapseAll()
{
    GridModel *model = m_gex->model();
    model->collapseAll();
    // The sheet's group row opens again so the period, month or counterparty
    // groups stay listed.
    if (mainmod::GroupOption >= 1 && model->rowCount() >= 1)
        model->setExpanded(1, true);
}

void frmMain::cmbFilter_Click(int index)
{
    if (!m_listReady)
        return;
    gexUpdate(index);
    m_gex->focusList();
    picStartVisible();
}

bool frmMain::LayoutKey(int key, Qt::KeyboardModifiers modifiers)
{
    if (!(modifiers & Qt::ControlModifier) || key < Qt::Key_1 || key > Qt::Key_4)
        return false;
    mnuGroupby_Click(key - Qt::Key_1);
    return true;
}

