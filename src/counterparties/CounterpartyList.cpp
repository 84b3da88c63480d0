#include "counterparties/CounterpartyList.h"

#include "counterparties/CounterpartyEditor.h"
#include "mainwindow/ChangeCaptions.h"
#include "mainwindow/ToolIcons.h"
#include "platform/grid/DataGrid.h"
#include "platform/Pauses.h"
#include "platform/Prompts.h"
#include "reports/CounterpartyPrinting.h"
#include "startup/Session.h"
#include "startup/Texts.h"
#include "store/CounterpartyStore.h"
#include "startup/DbErrorPrompt.h"
#include "store/Register.h"
#include "store/RowChange.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>

namespace {

constexpr int IdColumn = 1;
constexpr int NameColumn = 2;
constexpr int NotesColumn = 3;
constexpr int IdColumnWidth = 21;     // a narrow marker column before the name

QAction *addCommand(QMenu *menu, const char *name, int textId, const QKeySequence &key = {})
{
    QAction *action = menu->addAction(Texts::text(textId));
    action->setObjectName(QLatin1String(name));
    action->setShortcut(key);
    return action;
}

} // namespace

CounterpartyList::CounterpartyList(const QString &connectionString, Register &changes, QWidget *parent)
    : QMainWindow(parent, Qt::Window)
    , m_connectionString(connectionString)
    , m_changes(changes)
{
    setObjectName(QStringLiteral("counterpartyList"));
    setWindowTitle(Texts::text(1320));
    m_list = new DataGrid(this);
    m_list->setObjectName(QStringLiteral("counterpartyGrid"));
    setCentralWidget(m_list);
    buildMenusAndToolbar();
    // A permanent part of the bar: a menu's status tips only cover it for a while,
    // where a message of showMessage() would be cleared by them for good.
    auto *hint = new QLabel(Texts::text(1325), this);
    hint->setObjectName(QStringLiteral("keyHint"));
    statusBar()->addWidget(hint, 1);
    setUpList();
    resize(520, 400);
}

CounterpartyList::~CounterpartyList() = default;

void CounterpartyList::buildMenusAndToolbar()
{
    QMenu *file = menuBar()->addMenu(Texts::text(201));
    QAction *print = addCommand(file, "printAction", 205, Qt::SHIFT | Qt::CTRL | Qt::Key_F12);
    file->addSeparator();
    QAction *exit = addCommand(file, "exitAction", 209);
    QMenu *record = menuBar()->addMenu(Texts::text(301));
    QAction *create = addCommand(record, "newAction", 303, Qt::Key_F5);
    QAction *edit = addCommand(record, "editAction", 304);
    QAction *remove = addCommand(record, "deleteAction", 306, Qt::Key_Delete);
    connect(print, &QAction::triggered, this, &CounterpartyList::printList);
    connect(exit, &QAction::triggered, this, &QWidget::close);
    connect(create, &QAction::triggered, this, &CounterpartyList::newCounterparty);
    connect(edit, &QAction::triggered, this, &CounterpartyList::editCounterparty);
    connect(remove, &QAction::triggered, this, &CounterpartyList::deleteCounterparty);

    QToolBar *bar = addToolBar(QStringLiteral("tb"));
    bar->setObjectName(QStringLiteral("counterpartyToolBar"));
    bar->setMovable(false);
    bar->setIconSize(QSize(24, 24));
    connect(addToolButton(bar, "newButton", ToolIcon::New, 1340), &QAction::triggered, this,
            &CounterpartyList::newCounterparty);
    connect(addToolButton(bar, "editButton", ToolIcon::Edit, 1341), &QAction::triggered, this,
            &CounterpartyList::editCounterparty);
    connect(addToolButton(bar, "deleteButton", ToolIcon::Delete, 1342), &QAction::triggered, this,
            &CounterpartyList::deleteCounterparty);
    bar->addSeparator();
    connect(addToolButton(bar, "printButton", ToolIcon::Print, 907), &QAction::triggered, this,
            &CounterpartyList::printList);
    bar->addSeparator();
    QAction *exitButton = bar->addAction(style()->standardIcon(QStyle::SP_DialogCloseButton), Texts::text(210));
    exitButton->setObjectName(QStringLiteral("exitButton"));
    connect(exitButton, &QAction::triggered, this, &QWidget::close);
}

void CounterpartyList::setUpList()
{
    m_list->setNavigatorTemplate(Texts::text(1326));
    connect(m_list, &DataGrid::keyDown, this, &CounterpartyList::listKeyDown);
    connect(m_list, &DataGrid::doubleClicked, this, [this](int row) {
        if (row > 0)
            editCounterparty();
    });
}

void CounterpartyList::showList()
{
    // Every opening starts afresh on the first name; while the window is still
    // open, it keeps the row the user is on.
    reload(isVisible() ? currentId() : 0);
    show();
    raise();
    activateWindow();
}

void CounterpartyList::reload(qint32 currentId)
{
    std::vector<Counterparty> rows;
    if (!DbErrorPrompt::run(m_connectionString, [&] { rows = CounterpartyStore(m_connectionString).list(); }))
        return;
    std::vector<QVariantList> cells;
    cells.reserve(rows.size());
    for (const Counterparty &row : rows)
        cells.push_back({row.id, row.name, row.notes});
    GridModel *model = m_list->model();
    model->setRows({QStringLiteral("AcId"), QStringLiteral("AcName"), QStringLiteral("AcNotes")}, cells);
    model->setSortKeys({});
    model->addSortKey(NameColumn);
    model->setColumnCaption(IdColumn, QString());
    model->setColumnCaption(NameColumn, Texts::text(1321));
    model->setColumnCaption(NotesColumn, Texts::text(1322));
    sizeColumns();
    if (currentId > 0 && model->find(IdColumn, currentId, GridModel::FindMode::Equal, 0, 1) > 0)
        m_list->scrollToCurrent();
    else if (m_list->rowCount() > 0)
        m_list->setCurrentRow(1);   // the first name, whichever row the table read first
}

void CounterpartyList::sizeColumns()
{
    // Name and notes share what the marker column and the scroll bar leave, 2 to 3.
    const int scrollBar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const int rest = qMax(0, m_list->width() - (IdColumnWidth + 2 + scrollBar));
    GridModel *model = m_list->model();
    if (model->columnTotal() < NotesColumn)
        return;
    model->setColumnWidth(IdColumn, IdColumnWidth);
    model->setColumnWidth(NameColumn, qRound(0.4 * rest));
    model->setColumnWidth(NotesColumn, qRound(0.6 * rest));
}

void CounterpartyList::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    sizeColumns();
}

qint32 CounterpartyList::currentId() const
{
    const int row = m_list->currentRow();
    if (row < 1 || m_list->isGroupRow(row))
        return 0;
    return m_list->value(row, IdColumn).toInt();
}

void CounterpartyList::newCounterparty()
{
    CounterpartyEditor editor(m_connectionString, m_changes, this);
    const qint32 id = editor.createNew();
    if (id > 0)
        reload(id);
}

void CounterpartyList::editCounterparty()
{
    const qint32 id = currentId();
    if (id <= 0)
        return;
    CounterpartyEditor editor(m_connectionString, m_changes, this);
    if (editor.edit(id))
        reload(id);
}

void CounterpartyList::deleteCounterparty()
{
    const qint32 id = currentId();
    if (id <= 0)
        return;
    // Asked only about a counterparty that may go; the delete itself tests
    // again inside its transaction.
    bool refused = false;
    RowChange change;
    if (!DbErrorPrompt::run(m_connectionString, [&] { refused = CounterpartyStore(m_connectionString).isInUse(id); }))
        return;
    if (!refused) {
        if (!Prompt::confirmDeletion(Texts::text(1305), Session::AppTitle, Prompt::Icon::None))
            return;
        bool removed = false;
        if (!DbErrorPrompt::run(m_connectionString, [&] {
                change = RowChange();
                removed = CounterpartyStore(m_connectionString).remove(id, &change);
            }))
            return;
        refused = !removed;
    }
    if (refused) {
        Prompt::message(Texts::text(1327), Session::AppTitle);
        return;
    }
    const int row = m_list->currentRow();
    Pauses::shortPause();
    emit m_changes.counterpartiesChanged();
    m_changes.recordChange(ChangeCaption::nameCaption(ChangeCaption::DeleteCounterparty, change, StoredTable::Counterparties),
                           std::move(change));
    reload(0);
    m_list->setCurrentRow(qMin(row, m_list->rowCount()));
}

void CounterpartyList::printList()
{
    printCounterparties(this, m_connectionString);
}

void CounterpartyList::listKeyDown(int key, Qt::KeyboardModifiers modifiers, bool *consumed)
{
    if (modifiers & ~Qt::KeypadModifier)
        return;
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        editCounterparty();
        *consumed = true;
    } else if (key == Qt::Key_Delete) {
        deleteCounterparty();
        *consumed = true;
    }
}
