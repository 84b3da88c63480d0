// Life cycle of the main window: creation, load, resize and unload, the menus
// and toolbars with their captions, and the layout that persists between runs.
#include "mainwindow/frmMain.h"

#include "mainwindow/DeadlineList.h"
#include "mainwindow/MainWindowLayout.h"
#include "mainwindow/MainWindowSettings.h"
#include "mainwindow/MainWindowTasksPresenter.h"
#include "platform/Clock.h"
#include "platform/grid/DataGrid.h"
#include "platform/Prompts.h"
#include "startup/LanguageMenu.h"
#include "startup/Provisioning.h"
#include "startup/ResourceText.h"
#include "startup/Settings.h"
#include "startup/mainmod.h"
#include "store/comDataBase.h"

#include <QAbstractItemView>
#include <QAction>
#include <QActionGroup>
#include <QCalendarWidget>
#include <QCloseEvent>
#include <QComboBox>
#include <QDesktopServices>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QScrollArea>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

#include <functional>

namespace {

// Load and unload skip a failing step and go on with the next one.
void Attempt(const std::function<void()> &step)
{
    try {
        step();
    } catch (...) {
    }
}

// A menu entry as designed: its index in the menu's array, the resource id of
// its caption (0 for a separator) and its shortcut key.
struct MenuEntry
{
    int index;
    int textId;
    QKeySequence key;
};

// Toolbar buttons: index, tooltip id (0 for a separator) and picture.
struct ToolEntry
{
    int index;
    int tipId;
    int glyph;
};

} // namespace

// Pictures drawn by toolIcon().
enum ToolGlyph {
    GlyphNew, GlyphEdit, GlyphToggle, GlyphDelete, GlyphClients, GlyphPrint, GlyphExport, GlyphOptions,
    GlyphExpand, GlyphCollapse, GlyphSimple, GlyphByDate, GlyphByMonth, GlyphByCounterparty,
    GlyphFindNext, GlyphFindPrevious, GlyphSearch
};

frmMain::frmMain(QWidget *parent)
    : QMainWindow(parent)
    , m_tasksPresenter(std::make_unique<MainWindowTasksPresenter>())
{
    setObjectName(QStringLiteral("frmMain"));
    // Creation: the display options come first, the widgets read them.
    Attempt([] { MainWindowSettings::ReadDisplayOptions(); });
    buildMenus();
    buildToolbars();
    buildPanels();
    buildStatusBar();
    Form_Load();
}

frmMain::~frmMain() = default;

void frmMain::buildMenus()
{
    auto build = [this](QMenu *menu, const QString &name, const std::initializer_list<MenuEntry> &entries,
                        QAction **targets, void (frmMain::*handler)(int)) {
        for (const MenuEntry &e : entries) {
            QAction *action = nullptr;
            if (e.textId == 0) {
                action = menu->addSeparator();
            } else {
                action = menu->addAction(QString::number(e.textId));
                if (!e.key.isEmpty())
                    action->setShortcut(e.key);
                const int index = e.index;
                connect(action, &QAction::triggered, this, [this, handler, index] { (this->*handler)(index); });
            }
            action->setObjectName(name + QString::number(e.index));
            targets[e.index] = action;
        }
    };

    m_mnuFileGrp = menuBar()->addMenu(QStringLiteral("201"));
    m_mnuFileGrp->setObjectName(QStringLiteral("mnuFileGrp"));
    build(m_mnuFileGrp, QStringLiteral("mnuFile"),
          { { 0, 203, QKeySequence(Qt::Key_F12) }, { 1, 0, {} },
            { 2, 205, QKeySequence(Qt::SHIFT | Qt::CTRL | Qt::Key_F12) }, { 3, 207, {} }, { 4, 0, {} },
            { 5, 209, {} } },
          m_mnuFile.data(), &frmMain::mnuFile_Click);

    m_mnuRecordGrp = menuBar()->addMenu(QStringLiteral("301"));
    m_mnuRecordGrp->setObjectName(QStringLiteral("mnuRecordGrp"));
    build(m_mnuRecordGrp, QStringLiteral("mnuRecord"),
          { { 0, 303, QKeySequence(Qt::Key_F5) }, { 1, 304, {} }, { 2, 305, {} },
            { 3, 306, QKeySequence(Qt::Key_Delete) }, { 4, 0, {} }, { 5, 307, QKeySequence(Qt::CTRL | Qt::Key_F) },
            { 6, 0, {} }, { 7, 620, QKeySequence(Qt::Key_F3) }, { 8, 621, {} }, { 9, 0, {} }, { 10, 308, {} },
            { 11, 309, {} } },
          m_mnuRecord.data(), &frmMain::mnuRecord_Click);

    m_mnuViewGrp = menuBar()->addMenu(QStringLiteral("401"));
    m_mnuViewGrp->setObjectName(QStringLiteral("mnuViewGrp"));
    build(m_mnuViewGrp, QStringLiteral("mnuView"), { { 0, 403, QKeySequence(Qt::CTRL | Qt::Key_F5) }, { 1, 0, {} } },
          m_mnuView.data(), &frmMain::mnuView_Click);
    m_mnuGroupbyGrp = m_mnuViewGrp->addMenu(QStringLiteral("410"));
    m_mnuGroupbyGrp->setObjectName(QStringLiteral("mnuGroupbyGrp"));
    m_mnuView[2] = m_mnuGroupbyGrp->menuAction();
    m_mnuView[2]->setObjectName(QStringLiteral("mnuView2"));
    build(m_mnuGroupbyGrp, QStringLiteral("mnuGroupby"), { { 0, 412, {} }, { 1, 413, {} }, { 2, 414, {} }, { 3, 415, {} } },
          m_mnuGroupby.data(), &frmMain::mnuGroupby_Click);
    for (QAction *a : m_mnuGroupby)
        a->setCheckable(true);
    build(m_mnuViewGrp, QStringLiteral("mnuView"),
          { { 3, 0, {} }, { 4, 311, {} }, { 5, 313, {} }, { 6, 0, {} }, { 7, 419, {} } },
          m_mnuView.data(), &frmMain::mnuView_Click);

    m_mnuToolsGrp = menuBar()->addMenu(QStringLiteral("501"));
    m_mnuToolsGrp->setObjectName(QStringLiteral("mnuToolsGrp"));
    build(m_mnuToolsGrp, QStringLiteral("mnuTools"), { { 0, 503, {} }, { 1, 0, {} } }, m_mnuTools.data(),
          &frmMain::mnuTools_Click);
    m_mnuLangsGrp = m_mnuToolsGrp->addMenu(QStringLiteral("504"));
    m_mnuLangsGrp->setObjectName(QStringLiteral("mnuLangsGrp"));
    m_mnuTools[2] = m_mnuLangsGrp->menuAction();
    m_mnuTools[2]->setObjectName(QStringLiteral("mnuTools2"));
    build(m_mnuToolsGrp, QStringLiteral("mnuTools"), { { 3, 0, {} }, { 4, 506, {} } }, m_mnuTools.data(),
          &frmMain::mnuTools_Click);

    // The language entries carry their own names in every language; only
    // "Automatic" is translated.
    build(m_mnuLangsGrp, QStringLiteral("mnuLangs"), { { 0, 505, {} }, { 1, 0, {} } }, m_mnuLangs.data(),
          &frmMain::mnuLangs_Click);
    const QStringList languages = { QStringLiteral("Deutch"), QStringLiteral("English"), QStringLiteral("Español"),
                                    QStringLiteral("Français"), QStringLiteral("Italiano") };
    for (int i = 0; i < languages.size(); ++i) {
        const int index = i + 2;
        QAction *action = m_mnuLangsGrp->addAction(languages.at(i));
        action->setObjectName(QStringLiteral("mnuLangs") + QString::number(index));
        connect(action, &QAction::triggered, this, [this, index] { mnuLangs_Click(index); });
        m_mnuLangs[index] = action;
    }
    for (QAction *a : m_mnuLangs)
        if (!a->isSeparator())
            a->setCheckable(true);

    m_mnuHelpGrp = menuBar()->addMenu(QStringLiteral("601"));
    m_mnuHelpGrp->setObjectName(QStringLiteral("mnuHelpGrp"));
    build(m_mnuHelpGrp, QStringLiteral("mnuHelp"), { { 0, 603, QKeySequence(Qt::Key_F1) }, { 1, 0, {} }, { 4, 607, {} } },
          m_mnuHelp.data(), &frmMain::mnuHelp_Click);
}

void frmMain::buildToolbars()
{
    const QSize iconSize(24, 24);
    auto build = [this](QToolBar *bar, const QString &name, const std::initializer_list<ToolEntry> &entries,
                        QAction **targets, void (frmMain::*handler)(int)) {
        for (const ToolEntry &e : entries) {
            QAction *action = nullptr;
            if (e.tipId == 0) {
                action = bar->addSeparator();
            } else {
                action = bar->addAction(toolIcon(e.glyph), QString::number(e.tipId));
                action->setToolTip(QString::number(e.tipId));
                const int index = e.index;
                connect(action, &QAction::triggered, this, [this, handler, index] { (this->*handler)(index); });
            }
            action->setObjectName(name + QString::number(e.index));
            targets[e.index] = action;
        }
    };

    m_tb = addToolBar(QStringLiteral("tb"));
    m_tb->setObjectName(QStringLiteral("tb"));
    m_tb->setIconSize(iconSize);
    m_tb->setMovable(false);
    build(m_tb, QStringLiteral("tb"),
          { { 1, 901, GlyphNew }, { 2, 902, GlyphEdit }, { 3, 903, GlyphToggle }, { 4, 904, GlyphDelete },
            { 5, 0, 0 }, { 6, 905, GlyphClients }, { 7, 0, 0 }, { 8, 907, GlyphPrint }, { 9, 909, GlyphExport },
            { 10, 0, 0 }, { 11, 911, GlyphOptions } },
          m_tbButtons.data(), &frmMain::tb_Click);

    m_tbLayout = addToolBar(QStringLiteral("tbLayout"));
    m_tbLayout->setObjectName(QStringLiteral("tbLayout"));
    m_tbLayout->setIconSize(iconSize);
    m_tbLayout->setMovable(false);
    auto *showLabel = new QLabel(QStringLiteral("981"), m_tbLayout);
    showLabel->setObjectName(QStringLiteral("Label2"));
    showLabel->setContentsMargins(8, 0, 4, 0);
    m_tbLayout->addWidget(showLabel);
    m_cmbFilter = new QComboBox(m_tbLayout);
    m_cmbFilter->setObjectName(QStringLiteral("cmbFilter"));
    m_cmbFilter->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    m_cmbFilter->setMinimumContentsLength(24);
    m_cmbFilter->installEventFilter(this);
    connect(m_cmbFilter, &QComboBox::currentIndexChanged, this, &frmMain::cmbFilter_Click);
    m_tbLayout->addWidget(m_cmbFilter);
    m_tbLayout->addSeparator();
    build(m_tbLayout, QStringLiteral("tbLayout"),
          { { 3, 913, GlyphExpand }, { 4, 915, GlyphCollapse }, { 5, 0, 0 }, { 6, 412, GlyphSimple },
            { 7, 413, GlyphByDate }, { 8, 414, GlyphByMonth }, { 9, 415, GlyphByCounterparty } },
          m_tbLayoutButtons.data(), &frmMain::tbLayout_Click);
    for (int i = 6; i <= 9; ++i)
        m_tbLayoutButtons[i]->setCheckable(true);
}

void frmMain::buildPanels()
{
    auto *central = new QWidget(this);
    central->setObjectName(QStringLiteral("Picture2"));
    auto *outer = new QHBoxLayout(central);
    outer->setContentsMargins(8, 6, 8, 4);
    outer->setSpacing(8);

    // The list column: title and search bar over the grid, start panel on top of it.
    m_picGex = new QWidget(central);
    m_picGex->setObjectName(QStringLiteral("picGex"));
    auto *listColumn = new QVBoxLayout(m_picGex);
    listColumn->setContentsMargins(0, 0, 0, 0);
    listColumn->setSpacing(6);

    auto *header = new QHBoxLayout;
    header->setSpacing(6);
    m_lblTitle = new QLabel(m_picGex);
    m_lblTitle->setObjectName(QStringLiteral("lblTitle"));
    QFont titleFont = m_lblTitle->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.35);
    m_lblTitle->setFont(titleFont);
    header->addWidget(m_lblTitle, 1);

    auto *picSearch = new QWidget(m_picGex);
    picSearch->setObjectName(QStringLiteral("picSearch"));
    auto *searchRow = new QHBoxLayout(picSearch);
    searchRow->setContentsMargins(0, 0, 0, 0);
    searchRow->setSpacing(2);
    m_picSearchText = new QFrame(picSearch);
    m_picSearchText->setObjectName(QStringLiteral("picSearchText"));
    m_picSearchText->setFrameShape(QFrame::StyledPanel);
    m_picSearchText->setAutoFillBackground(true);
    auto *searchBox = new QHBoxLayout(m_picSearchText);
    searchBox->setContentsMargins(2, 1, 2, 1);
    searchBox->setSpacing(2);
    m_txtFindImage = new QToolButton(m_picSearchText);
    m_txtFindImage->setObjectName(QStringLiteral("txtFindImage"));
    m_txtFindImage->setIcon(toolIcon(GlyphSearch));
    m_txtFindImage->setAutoRaise(true);
    m_txtFindImage->setFocusPolicy(Qt::NoFocus);
    connect(m_txtFindImage, &QToolButton::clicked, this, [this] { m_txtFind->setFocus(Qt::OtherFocusReason); });
    searchBox->addWidget(m_txtFindImage);
    m_txtFind = new QLineEdit(m_picSearchText);
    m_txtFind->setObjectName(QStringLiteral("txtFind"));
    m_txtFind->setFrame(false);
    m_txtFind->setMinimumWidth(200);
    m_txtFind->setAutoFillBackground(true);
    m_txtFind->installEventFilter(this);
    searchBox->addWidget(m_txtFind);
    searchRow->addWidget(m_picSearchText);
    m_txtFindToolbar = new QToolBar(picSearch);
    m_txtFindToolbar->setObjectName(QStringLiteral("txtFindToolbar"));
    m_txtFindToolbar->setIconSize(QSize(16, 16));
    const std::initializer_list<ToolEntry> findEntries = { { 3, 620, GlyphFindNext }, { 5, 621, GlyphFindPrevious } };
    for (const ToolEntry &e : findEntries) {
        QAction *action = m_txtFindToolbar->addAction(toolIcon(e.glyph), QString::number(e.tipId));
        action->setToolTip(QString::number(e.tipId));
        action->setObjectName(QStringLiteral("txtFindToolbar") + QString::number(e.index));
        const int index = e.index;
        connect(action, &QAction::triggered, this, [this, index] { txtFindToolbar_Click(index); });
        m_txtFindButtons[e.index] = action;
    }
    searchRow->addWidget(m_txtFindToolbar);
    header->addWidget(picSearch);
    listColumn->addLayout(header);

    m_gex = new DataGrid(m_picGex);
    m_gex->setObjectName(QStringLiteral("gex"));
    m_gex->installEventFilter(this);
    listColumn->addWidget(m_gex, 1);

    m_picStart = new QFrame(m_picGex);
    m_picStart->setObjectName(QStringLiteral("picStart"));
    m_picStart->setFrameShape(QFrame::StyledPanel);
    m_picStart->setCursor(Qt::PointingHandCursor);
    m_picStart->setAutoFillBackground(true);
    auto *startLayout = new QVBoxLayout(m_picStart);
    startLayout->setContentsMargins(36, 24, 36, 24);
    m_lblStart = new QLabel(mainmod::AppTitle.toUpper(), m_picStart);
    m_lblStart->setObjectName(QStringLiteral("lblStart"));
    m_lblStart->setAlignment(Qt::AlignCenter);
    QFont startFont = m_lblStart->font();
    startFont.setBold(true);
    startFont.setPointSizeF(startFont.pointSizeF() * 2.6);
    startFont.setLetterSpacing(QFont::PercentageSpacing, 115);
    m_lblStart->setFont(startFont);
    m_lblStart->setForegroundRole(QPalette::Mid);
    startLayout->addWidget(m_lblStart);
    m_picStart->installEventFilter(this);
    m_lblStart->installEventFilter(this);
    m_picStart->adjustSize();
    m_picStart->hide();
    outer->addWidget(m_picGex, 1);

    // The calendar column: calendar, upcoming deadlines, notes of the current row.
    m_picCalendar = new QWidget(central);
    m_picCalendar->setObjectName(QStringLiteral("picCalendar"));
    auto *side = new QVBoxLayout(m_picCalendar);
    side->setContentsMargins(0, 0, 0, 0);
    side->setSpacing(6);
    m_mv = new QCalendarWidget(m_picCalendar);
    m_mv->setObjectName(QStringLiteral("mv"));
    m_mv->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    m_mv->setGridVisible(false);
    m_mv->installEventFilter(this);
    m_mvDays = m_mv->findChild<QAbstractItemView *>();
    if (m_mvDays)
        m_mvDays->installEventFilter(this);
    connect(m_mv, &QCalendarWidget::selectionChanged, this, &frmMain::mv_SelChange);
    connect(m_mv, &QCalendarWidget::currentPageChanged, this, [this] { mvGetDayBold(); });
    side->addWidget(m_mv);

    m_gextasks = new DataGrid(m_picCalendar);
    m_gextasks->setObjectName(QStringLiteral("gextasks"));
    m_gextasks->setNavigatorVisible(false);
    m_gextasks->setPresenter(m_tasksPresenter.get());
    if (auto *tasksView = m_gextasks->findChild<QAbstractItemView *>()) {
        m_gextasksViewport = tasksView->viewport();
        m_gextasksViewport->installEventFilter(this);
    }
    side->addWidget(m_gextasks, 3);

    m_picNotes = new QFrame(m_picCalendar);
    m_picNotes->setObjectName(QStringLiteral("picNotes"));
    m_picNotes->setFrameShape(QFrame::StyledPanel);
    auto *notes = new QVBoxLayout(m_picNotes);
    notes->setContentsMargins(8, 6, 8, 6);
    notes->setSpacing(4);
    auto *piclblNotes = new QWidget(m_picNotes);
    piclblNotes->setObjectName(QStringLiteral("piclblNotes"));
    auto *notesHeader = new QHBoxLayout(piclblNotes);
    notesHeader->setContentsMargins(0, 0, 0, 0);
    auto *imgNotes = new QLabel(piclblNotes);
    imgNotes->setObjectName(QStringLiteral("imgNotes"));
    imgNotes->setPixmap(QIcon(IconResourcePath(3)).pixmap(16, 16));
    notesHeader->addWidget(imgNotes);
    m_lblNotes = new QLabel(QStringLiteral("1012"), piclblNotes);
    m_lblNotes->setObjectName(QStringLiteral("lblNotes"));
    QFont notesFont = m_lblNotes->font();
    notesFont.setBold(true);
    m_lblNotes->setFont(notesFont);
    notesHeader->addWidget(m_lblNotes, 1);
    notes->addWidget(piclblNotes);

    // Notes can run to many lines: each label wraps and scrolls inside its own area.
    auto notesArea = [this](QLabel *&label, const QString &name, QWidget *icon) {
        auto *area = new QScrollArea(m_picNotes);
        area->setObjectName(name + QStringLiteral("Area"));
        area->setWidgetResizable(true);
        area->setFrameShape(QFrame::NoFrame);
        area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        auto *holder = new QWidget(area);
        auto *row = new QHBoxLayout(holder);
        row->setContentsMargins(0, 0, 0, 0);
        row->setSpacing(4);
        if (icon) {
            icon->setParent(holder);
            row->addWidget(icon, 0, Qt::AlignTop);
        }
        label = new QLabel(holder);
        label->setObjectName(name);
        label->setWordWrap(true);
        label->setTextFormat(Qt::PlainText);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
        row->addWidget(label, 1);
        area->setWidget(holder);
        return area;
    };
    notes->addWidget(notesArea(m_lblDeadlineNotes, QStringLiteral("lblDeadlineNotes"), nullptr), 1);
    m_imgCliForNotes = new QLabel;
    auto *imgCliForNotes = m_imgCliForNotes;
    imgCliForNotes->setObjectName(QStringLiteral("imgCliForNotes"));
    imgCliForNotes->setPixmap(QIcon(IconResourcePath(8)).pixmap(16, 16));
    notes->addWidget(notesArea(m_lblAccNotes, QStringLiteral("lblAccNotes"), imgCliForNotes), 1);
    imgCliForNotes->hide();
    m_picNotes->setMinimumHeight(140);
    side->addWidget(m_picNotes, 2);

    outer->addWidget(m_picCalendar, 0);
    setCentralWidget(central);
}

void frmMain::buildStatusBar()
{
    statusBar()->setObjectName(QStringLiteral("sb"));
    m_sbPanel1 = new QLabel(statusBar());
    m_sbPanel1->setObjectName(QStringLiteral("sbPanel1"));
    m_sbPanel1->setContentsMargins(4, 0, 4, 0);
    statusBar()->addWidget(m_sbPanel1, 1);
    m_sbPanel2 = new QLabel(statusBar());
    m_sbPanel2->setObjectName(QStringLiteral("sbPanel2"));
    m_sbPanel2->setContentsMargins(4, 0, 4, 0);
    statusBar()->addPermanentWidget(m_sbPanel2);
}

void frmMain::Form_Load()
{
    using namespace MainWindowLayout;
    m_listReady = false;
    m_listPresenter.setWarningHorizon(WarnLimitDate(Clock::today(), mainmod::WarnDays));
    setWindowTitle(mainmod::AppTitle);
    Attempt([] { mainmod::CounterSeparator = CounterSeparatorText(); });
    setMinimumSize(twipsToPixels(MinWidthTwips), twipsToPixels(MinHeightTwips));

    m_gex->setUpdatesEnabled(false);
    {
        const QSignalBlocker blocker(m_cmbFilter);
        for (const ViewFilter &filter : ViewFilters())
            m_cmbFilter->addItem(ResourceText(filter.captionId));
    }
    Attempt([this] { applyStartLayout(); });
    Attempt([this] { applyCaptions(); });

    const QDate today = Clock::today();
    {
        const QSignalBlocker blocker(m_mv);
        m_mv->setSelectedDate(today);
        m_mv->setFirstDayOfWeek(QLocale().firstDayOfWeek());
    }
    Attempt([this] { setupGrid(); });

    Attempt([this] { gexUpdate(m_cmbFilter->currentIndex()); });
    Attempt([this] { gextasksUpdate(selectionStart(), selectionEnd()); });
    m_listReady = true;
    Attempt([this] { sbBallon(); });
    Attempt([this] { picStartVisible(); });

    GridModel *model = m_gex->model();
    if (model->sortKeys().isEmpty())
        model->addSortKey(mainmod::SortKeyIndex, mainmod::SortAscending == 1);
    m_gex->setCurrentRow(1);
    m_gex->setUpdatesEnabled(true);

    // The list was just read with the stored layout's groups; reading it again
    // to show the choice would double the start-up time of a large sheet.
    showLayoutChoice(mainmod::GroupOption);
    for (int i = 0; i < int(m_mnuLangs.size()); ++i)
        if (!m_mnuLangs[i]->isSeparator())
            m_mnuLangs[i]->setChecked(i == mainmod::LanguageChoice);
    Attempt([this] { mvGetDayBold(); });
    SetSearchMode(false);
    m_gex->focusList();
}

void frmMain::applyStartLayout()
{
    using namespace MainWindowLayout;
    const MainWindowSettings::StartLayout layout = MainWindowSettings::ReadStartLayout(mainmod::SaveLayoutSettings);
    if (layout.maximized) {
        resize(twipsToPixels(DesignedWidthTwips), twipsToPixels(DesignedHeightTwips));
        setWindowState(windowState() | Qt::WindowMaximized);
    } else {
        resize(twipsToPixels(layout.widthTwips.value_or(DesignedWidthTwips)),
               twipsToPixels(layout.heightTwips.value_or(DesignedHeightTwips)));
    }
    // The selection event does nothing yet: the list is not ready.
    m_cmbFilter->setCurrentIndex(layout.view);
    mainmod::GroupOption = layout.groupOption;
    mainmod::SortKeyIndex = layout.sortKeyIndex;
    mainmod::SortAscending = layout.sortAscending;
}

void frmMain::applyCaptions()
{
    auto translate = [](QAction *action) {
        if (!action || action->isSeparator())
            return;
        bool isId = false;
        const int id = action->text().toInt(&isId);
        if (isId)
            action->setText(ResourceText(id));
        const int tipId = action->toolTip().toInt(&isId);
        if (isId)
            action->setToolTip(ResourceText(tipId));
    };
    for (QMenu *menu : { m_mnuFileGrp, m_mnuRecordGrp, m_mnuViewGrp, m_mnuToolsGrp, m_mnuHelpGrp })
        translate(menu->menuAction());
    for (QAction *a : m_mnuFile) translate(a);
    for (QAction *a : m_mnuRecord) translate(a);
    for (QAction *a : m_mnuView) translate(a);
    for (QAction *a : m_mnuGroupby) translate(a);
    for (QAction *a : m_mnuTools) translate(a);
    for (QAction *a : m_mnuLangs) translate(a);
    for (QAction *a : m_mnuHelp) translate(a);

    // Keys that act elsewhere are only shown after a tab: Space belongs to the
    // grid, Ctrl+1 to Ctrl+4 to the grid, the calendar and the view box.
    m_mnuRecord[2]->setText(m_mnuRecord[2]->text() + QLatin1Char('\t') + ResourceText(608));
    for (int i = 0; i < int(m_mnuGroupby.size()); ++i)
        m_mnuGroupby[i]->setText(m_mnuGroupby[i]->text() + QStringLiteral("\tCtrl+") + QString::number(i + 1));

    for (QAction *a : m_tbButtons) translate(a);
    for (QAction *a : m_tbLayoutButtons) translate(a);
    for (QAction *a : m_txtFindButtons) translate(a);
    if (auto *show = findChild<QLabel *>(QStringLiteral("Label2")))
        show->setText(ResourceText(981));
    m_lblNotes->setText(ResourceText(1012));
}

void frmMain::setupGrid()
{
    using namespace MainWindowLayout;
    m_gex->setPresenter(&m_listPresenter);
    m_gex->setConnectionString(mainmod::ConnectionString);
    m_gex->setRecordSource(InitialListQuery());
    m_gex->requery();
    GridModel *model = m_gex->model();
    // The two computed columns follow the query's own (19 group key, 20 open balance).
    while (model->fieldCount() == ListColumn::SearchField && model->columnTotal() < ListColumn::Count)
        model->addComputedColumn();

    for (int column = 1; column <= model->columnTotal(); ++column) {
        const int id = ListColumn::CaptionId(column);
        model->setColumnCaption(column, id != 0 && column != ListColumn::TrType ? ResourceText(id) : QString());
        model->setColumnVisible(column, column == ListColumn::TrType || column == ListColumn::TrDate
                                            || column == ListColumn::TrDescription || column == ListColumn::TrValue
                                            || column == ListColumn::AcName);
    }
    model->setColumnWidth(ListColumn::TrType, twipsToPixels(TypeColumnTwips));
    model->setColumnFormat(ListColumn::TrDate, QStringLiteral("Short Date"));
    model->setColumnFormat(ListColumn::TrValue, QStringLiteral("Currency"));
    model->setColumnEmptyText(ListColumn::AcName, ResourceText(1054));
    m_gex->setNavigatorTemplate(ResourceText(1052));

    for (int i = 1; i <= IconCount; ++i)
        m_gex->setImage(i, QIcon(IconResourcePath(i)));
    GridRowStyle expired = m_gex->rowStyle(QStringLiteral("Expired"));
    expired.background = QColor(255, 255, 234);
    m_gex->setRowStyle(QStringLiteral("Expired"), expired);

    connect(m_gex, &DataGrid::keyDown, this, &frmMain::gex_KeyDown, Qt::DirectConnection);
    connect(m_gex, &DataGrid::doubleClicked, this, &frmMain::gex_DblClick);
    connect(m_gex, &DataGrid::currentRowChanged, this, [this] { UpdateNotesPanel(); });
    connect(m_gex, &DataGrid::gotFocus, this, &frmMain::gex_GotFocus);
    connect(m_gex, &DataGrid::lostFocus, this, &frmMain::gex_LostFocus);
    SizeListColumns();
}

void frmMain::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    ArrangePanels();
    SizeListColumns();
}

void frmMain::ArrangePanels()
{
    using namespace MainWindowLayout;
    if (isMinimized())
        return;
    const int widthTwips = pixelsToTwips(width());
    const int heightTwips = pixelsToTwips(height());
    m_calendarMonthsAcross = CalendarMonthsAcross(widthTwips);
    m_calendarMonthsDown = CalendarMonthsDown(heightTwips);
    // The calendar column is as wide as the calendar; the list takes the rest.
    m_picCalendar->setFixedWidth(std::max(m_mv->sizeHint().width(), twipsToPixels(3600)));
    picStartVisible();
}

void frmMain::SizeListColumns()
{
    if (!m_gex)
        return;
    GridModel *model = m_gex->model();
    if (model->columnTotal() < ListColumn::AcName)
        return;
    const auto widths = MainWindowLayout::ListColumnWidthsFor(pixelsToTwips(m_gex->width()), mainmod::ScrollBarWidth,
                                                              model->columnTotal());
    model->setColumnWidth(ListColumn::TrDate, twipsToPixels(widths.date));
    model->setColumnWidth(ListColumn::TrValue, twipsToPixels(widths.amount));
    if (widths.description)
        model->setColumnWidth(ListColumn::TrDescription, twipsToPixels(*widths.description));
    if (widths.counterparty)
        model->setColumnWidth(ListColumn::AcName, twipsToPixels(*widths.counterparty));
}

void frmMain::closeEvent(QCloseEvent *event)
{
    Form_Unload();
    QMainWindow::closeEvent(event);
}

void frmMain::Form_Unload()
{
    if (m_unloaded)
        return;
    m_unloaded = true;
    MainWindowSettings::ExitState state;
    state.view = m_cmbFilter->currentIndex();
    state.groupOption = mainmod::GroupOption;
    const QList<GridSortKey> keys = m_gex->model()->sortKeys();
    if (!keys.isEmpty()) {
        state.sortKeyIndex = keys.first().column;
        state.sortAscending = keys.first().ascending;
    }
    if (isMinimized())
        state.windowState = MainWindowSettings::Minimized;
    else if (isMaximized())
        state.windowState = MainWindowSettings::Maximized;
    else
        state.windowState = MainWindowSettings::Normal;
    state.widthTwips = pixelsToTwips(width());
    state.heightTwips = pixelsToTwips(height());
    state.languageChoice = mainmod::LanguageChoice;
    Attempt([&] { MainWindowSettings::WriteExitSettings(mainmod::SaveLayoutSettings, state); });
}

void frmMain::setStatusText(const QString &text)
{
    m_sbPanel1->setText(text);
}

int frmMain::twipsToPixels(double twips) const
{
    return MainWindowLayout::TwipsToPixels(twips, logicalDpiX());
}

int frmMain::pixelsToTwips(double pixels) const
{
    return MainWindowLayout::PixelsToTwips(pixels, logicalDpiX());
}

void frmMain::mnuFile_Click(int index)
{
    switch (index) {
    case 0:   // deadline sheets
    case 2:   // print
    case 3:   // export
        break;
    case 5:
        close();
        break;
    default:
        break;
    }
}

void frmMain::mnuRecord_Click(int index)
{
    switch (index) {
    case 0: NewDeadline(m_gex->currentRow()); break;
    case 1: EditDeadline(); break;
    case 2: ToggleDone(); break;
    case 3: DeleteDeadline(m_gex->currentRow()); break;
    case 5: m_txtFind->setFocus(Qt::ShortcutFocusReason); break;
    case 7: FindNext(m_txtFind->text(), 1); break;
    case 8: FindPrevious(m_txtFind->text(), 1); break;
    case 10: FirstRow(); break;
    case 11: LastRow(); break;
    default: break;
    }
}

void frmMain::mnuView_Click(int index)
{
    switch (index) {
    case 0: ManageCounts(); break;
    case 4: ExpandAll(); break;
    case 5: CollapseAll(); break;
    case 7:   // preferences
    default: break;
    }
}

void frmMain::mnuTools_Click(int index)
{
    switch (index) {
    case 0:
        // The purge window opens on Yes.
        Prompt::message(ResourceText(1301) + QStringLiteral("\n\n") + ResourceText(1302), mainmod::AppTitle,
                        Prompt::Icon::Question, Prompt::Buttons::YesNo);
        break;
    case 4:
        ChangeDatabase();
        break;
    default:
        break;
    }
}

void frmMain::mnuLangs_Click(int index)
{
    LanguageMenu::Click(index);
    // A click toggles the entry's own tick; the marks always follow the choice.
    for (int i = 0; i < int(m_mnuLangs.size()); ++i)
        if (!m_mnuLangs[i]->isSeparator())
            m_mnuLangs[i]->setChecked(i == mainmod::LanguageChoice);
}

void frmMain::mnuHelp_Click(int index)
{
    if (index == 0)
        OpenHelp();
}

void frmMain::tb_Click(int index)
{
    switch (index) {
    case 1: NewDeadline(m_gex->currentRow()); break;
    case 2:
        if (m_gex->currentRow() >= 1)
            EditDeadline();
        break;
    case 3: ToggleDone(); break;
    case 4: DeleteDeadline(m_gex->currentRow()); break;
    case 6: ManageCounts(); break;
    default: break;   // 8 print, 9 export, 11 preferences
    }
}

void frmMain::tbLayout_Click(int index)
{
    if (index < 5)
        mnuView_Click(index + 1);
    else
        mnuGroupby_Click(index - 6);
}

void frmMain::txtFindToolbar_Click(int index)
{
    if (index == 3)
        FindNext(m_txtFind->text(), 1);
    else if (index == 5)
        FindPrevious(m_txtFind->text(), 1);
}

void frmMain::ChangeDatabase()
{
    // The database in use stays until the next start.
    ::ChangeDatabase();
}

void frmMain::OpenHelp()
{
    if (!mainmod::HelpFile.isEmpty())
        QDesktopServices::openUrl(QUrl::fromLocalFile(mainmod::HelpFile));
}

void frmMain::ManageCounts()
{
    // The clients/suppliers window is owned here once it exists.
}
