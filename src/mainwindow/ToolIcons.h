#pragma once

#include <QIcon>

class QAction;
class QToolBar;

// The toolbar pictures, drawn as simple line art so they stay sharp at any scale
// and need no theme.
enum class ToolIcon {
    New,
    Edit,
    ToggleDone,
    Delete,
    Counterparties,
    Print,
    Export,
    Preferences,
    ExpandAll,
    CollapseAll,
    PlainLayout,
    DateLayout,
    MonthLayout,
    CounterpartyLayout,
    FindNext,
    FindPrevious,
    Search,
};

QIcon toolIcon(ToolIcon which);

// The text of textId without its mnemonic mark: menu captions reused as tool tips
// and accessible names ("&&" stays a literal "&").
QString plainCaption(int textId);

// A button of a toolbar with its picture, named for tests, and the text of
// tipId, without its mnemonic, as its text and tool tip.
QAction *addToolButton(QToolBar *bar, const char *name, ToolIcon icon, int tipId);
