#include "sheets/SheetsDialog.h"

#include "mainwindow/ChangeCaptions.h"
#include "platform/ButtonKeys.h"
#include "platform/grid/DataGrid.h"
#include "platform/Pauses.h"
#include "platform/Prompts.h"
#include "platform/WidgetPrompts.h"
#include "startup/Session.h"
#include "startup/Setting.h"
#include "startup/Texts.h"
#include "startup/DbErrorPrompt.h"
#include "store/DbError.h"
#include "store/Register.h"
#include "store/RowChange.h"
#include "store/SheetStore.h"

#include <QDir>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr int IdColumn = 1;
constexpr int NameColumn = 2;

QPushButton *button(int textId, const char *name, QWidget *parent)
{
    auto *b = new QPushButton(Texts::text(textId), parent);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    return b;
}

} // namespace

SheetsDialog::SheetsDialog(Session &session, QWidget *parent)
    : QDialog(parent)
    , m_session(session)
{
    setObjectName(QStringLiteral("sheetsDialog"));
    setModal(true);
    setWindowTitle(Texts::text(1253));

    auto *heading = new QLabel(QLatin1Char(' ') + Texts::text(1404), this);
    m_list = new DataGrid(this);
    m_list->setObjectName(QStringLiteral("sheetGrid"));
    m_list->setNavigatorVisible(false);
    auto *folderCaption = new QLabel(Texts::text(1403), this);
    auto *folder = new QLabel(m_session.onServer() ? m_session.registerName()
                                                   : QDir::toNativeSeparators(m_session.databaseFolder()) + QDir::separator(),
                              this);
    folder->setObjectName(QStringLiteral("folderLabel"));
    folder->setTextInteractionFlags(Qt::TextSelectableByMouse);

    QPushButton *select = button(1254, "selectButton", this);
    QPushButton *create = button(1250, "newButton", this);
    QPushButton *rename = button(1251, "editButton", this);
    QPushButton *remove = button(1252, "deleteButton", this);
    QPushButton *close = button(1324, "closeButton", this);
    auto *buttons = new QVBoxLayout;
    for (QPushButton *b : {select, create, rename, remove})
        buttons->addWidget(b);
    buttons->addStretch();
    buttons->addWidget(close);

    auto *grid = new QGridLayout(this);
    grid->addWidget(heading, 0, 0);
    grid->addWidget(m_list, 1, 0);
    grid->addLayout(buttons, 1, 1);
    grid->addWidget(folderCaption, 2, 0, 1, 2);
    grid->addWidget(folder, 3, 0, 1, 2);
    resize(460, 320);

    connect(select, &QPushButton::clicked, this, &SheetsDialog::selectSheet);
    connect(create, &QPushButton::clicked, this, &SheetsDialog::createSheet);
    connect(rename, &QPushButton::clicked, this, &SheetsDialog::renameSheet);
    connect(remove, &QPushButton::clicked, this, &SheetsDialog::deleteSheet);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_list, &DataGrid::keyDown, this, &SheetsDialog::listKeyDown);
    connect(m_list, &DataGrid::doubleClicked, this, [this](int row) {
        if (row > 0)
            selectSheet();
    });
    removeCloseCommand(this);
    enterClicksFocusedButton(this);
    reload(m_session.activeSheetId());
}

SheetsDialog::~SheetsDialog() = default;

void SheetsDialog::reload(qint32 currentId)
{
    const QString connectionString = m_session.connectionString();
    std::vector<Sheet> sheets;
    if (!DbErrorPrompt::run(connectionString, [&] { sheets = SheetStore(connectionString).list(); }))
        return;
    std::vector<QVariantList> cells;
    cells.reserve(sheets.size());
    for (const Sheet &sheet : sheets)
        cells.push_back({sheet.id, sheet.name});
    GridModel *model = m_list->model();
    model->setRows({QStringLiteral("DbId"), QStringLiteral("DbName")}, cells);
    model->setColumnVisible(IdColumn, false);
    model->setColumnCaption(NameColumn, Texts::text(1404));
    model->setColumnWidth(NameColumn, 300);
    if (currentId <= 0 || model->find(IdColumn, currentId, GridModel::FindMode::Equal, 0, 1) <= 0)
        m_list->setCurrentRow(m_list->rowCount() > 0 ? 1 : 0);
    m_list->scrollToCurrent();
}

qint32 SheetsDialog::selectedId() const
{
    const int row = m_list->currentRow();
    return row >= 1 ? m_list->value(row, IdColumn).toInt() : 0;
}

QString SheetsDialog::selectedName() const
{
    const int row = m_list->currentRow();
    return row >= 1 ? m_list->value(row, NameColumn).toString() : QString();
}

void SheetsDialog::selectSheet()
{
    const qint32 id = selectedId();
    if (id <= 0)
        return;
    try {
        const bool selected = DbErrorPrompt::run(m_session.connectionString(), [this, id] {
            // Remembered before anything else, so the next start opens this sheet.
            m_session.settings().setInteger(Setting::ActiveSheet, id);
            m_session.setActiveSheet(id, SheetStore(m_session.connectionString()).name(id));
        });
        if (!selected)
            return;
    } catch (const std::exception &error) {
        // The setting could not be stored.
        Prompt::message(QString::fromLocal8Bit(error.what()), Session::AppTitle, Prompt::Icon::Critical);
        return;
    }
    Pauses::shortPause();
    emit m_session.deadlineRegister().activeSheetChanged(id);
    accept();
}

void SheetsDialog::createSheet()
{
    const QString name =
        Prompt::input(Texts::text(1409), Session::AppTitle, selectedName()).trimmed();
    if (name.isEmpty())
        return;
    qint32 id = 0;
    RowChange change;
    if (!DbErrorPrompt::run(m_session.connectionString(), [&] {
            change = RowChange();
            id = SheetStore(m_session.connectionString()).create(name, &change);
        }))
        return;
    Pauses::shortPause();
    emit m_session.deadlineRegister().sheetsChanged();
    m_session.deadlineRegister().recordChange(ChangeCaption::nameCaption(ChangeCaption::NewSheet, change, StoredTable::Sheets),
                                              std::move(change));
    reload(id);
    Prompt::message(Texts::text(1410), Session::AppTitle);
}

void SheetsDialog::renameSheet()
{
    const qint32 id = selectedId();
    if (id <= 0)
        return;
    const QString name = Prompt::input(Texts::text(1411), Session::AppTitle, selectedName()).trimmed();
    if (name.isEmpty())
        return;
    const QString connectionString = m_session.connectionString();
    RowChange change;
    if (!DbErrorPrompt::run(connectionString, [&] {
            change = RowChange();
            SheetStore(connectionString).rename(id, name, &change);
        }))
        return;
    Pauses::shortPause();
    reload(id);
    // The session's name of the active sheet is read again before the title is.
    DbErrorPrompt::run(connectionString, [this, &connectionString] {
        m_session.setActiveSheet(m_session.activeSheetId(),
                                 SheetStore(connectionString).name(m_session.activeSheetId()));
    });
    emit m_session.deadlineRegister().sheetsChanged();
    m_session.deadlineRegister().recordChange(
        ChangeCaption::nameCaption(ChangeCaption::RenameSheet, change, StoredTable::Sheets), std::move(change));
}

void SheetsDialog::deleteSheet()
{
    const qint32 id = selectedId();
    if (id <= 0)
        return;
    switch (SheetStore::deleteRefusal(m_list->rowCount(), id, m_session.activeSheetId())) {
    case SheetStore::DeleteRefusal::OnlySheet:
        Prompt::message(Texts::text(1405), Session::AppTitle);
        return;
    case SheetStore::DeleteRefusal::ActiveSheet:
        Prompt::message(Texts::text(1406), Session::AppTitle);
        return;
    case SheetStore::DeleteRefusal::FirstSheet:
        Prompt::message(QStringLiteral("UNO"), Session::AppTitle);
        return;
    case SheetStore::DeleteRefusal::None:
        break;
    }
    if (!Prompt::confirmDeletion(Texts::text(1407), Session::AppTitle, Prompt::Icon::None))
        return;
    // A failed delete rolls both deletes back: the sheet and its deadlines are all
    // still there, for Retry or for later.
    RowChange change;
    if (!DbErrorPrompt::run(m_session.connectionString(), [&] {
            change = RowChange();
            SheetStore(m_session.connectionString()).remove(id, &change);
        }))
        return;
    Pauses::shortPause();
    emit m_session.deadlineRegister().sheetsChanged();
    m_session.deadlineRegister().recordChange(
        ChangeCaption::nameCaption(ChangeCaption::DeleteSheet, change, StoredTable::Sheets), std::move(change));
    reload(m_session.activeSheetId());
    Prompt::message(Texts::text(1408), Session::AppTitle);
}

void SheetsDialog::listKeyDown(int key, Qt::KeyboardModifiers modifiers, bool *consumed)
{
    if ((modifiers & ~Qt::KeypadModifier) == 0 && (key == Qt::Key_Return || key == Qt::Key_Enter)) {
        selectSheet();
        *consumed = true;
    }
}
