#include "mainwindow/CounterpartyFocus.h"

#include "mainwindow/DeadlineList.h"
#include "mainwindow/ListPanel.h"
#include "platform/grid/DataGrid.h"

namespace {

// Rows of the view box and the layout by client/supplier.
constexpr int OpenCreditsView = 3;
constexpr int OpenDebitsView = 4;

} // namespace

bool showCounterpartyInList(ListPanel &panel, int type, const QString &name)
{
    // Through the list's own view box, so the window's menus and toolbar show what
    // the list shows, and choosing another view lists everything again.
    panel.showOnlyCounterparty(type == 1 ? OpenCreditsView : OpenDebitsView, name);
    DataGrid *list = panel.list();
    for (int row = 1; row <= list->rowCount(); ++row) {
        if (list->isGroupRow(row))
            continue;
        list->setCurrentRow(row);
        list->scrollToCurrent();
        list->focusList();
        return true;
    }
    return false;
}
