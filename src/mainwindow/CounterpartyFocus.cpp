#include "mainwindow/CounterpartyFocus.h"

#include "mainwindow/DeadlineList.h"
#include "mainwindow/ListPanel.h"
#include "platform/grid/DataGrid.h"

namespace {

// Rows of the view box and the layout by client/supplier.
constexpr int OpenCreditsView = 3;
constexpr int OpenDebitsView = 4;
constexpr int CounterpartyLayout = 3;

} // namespace

bool showCounterpartyInList(ListPanel &panel, int type, const QString &name)
{
    // Through the list's own view box and layout, so the window's menus and
    // toolbar show what the list shows, and the user leaves it the usual way.
    if (QComboBox *views = panel.viewCombo())
        views->setCurrentIndex(type == 1 ? OpenCreditsView : OpenDebitsView);
    panel.chooseLayout(CounterpartyLayout);
    panel.collapseAll();
    DataGrid *list = panel.list();
    GridModel *model = list->model();
    for (int row = 1; row <= model->rowCount(); ++row) {
        if (!model->isGroupRow(row) || model->groupColumn(row) != ListColumn::AcName
            || model->value(row, ListColumn::AcName).toString() != name)
            continue;
        model->setExpanded(row, true);
        model->setCurrentRow(row + 1);
        list->scrollToCurrent();
        list->focusList();
        return true;
    }
    return false;
}
