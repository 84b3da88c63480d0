// The panels of the main window: the list column with its title, search bar and
// empty-list panel, the calendar column with the upcoming deadlines and the
// notes, and the status bar.
#include "mainwindow/MainWindow.h"

#include "mainwindow/DeadlineList.h"
#include "mainwindow/ToolIcons.h"
#include "platform/calendar/MonthCalendar.h"
#include "platform/grid/DataGrid.h"
#include "platform/grid/GridView.h"
#include "startup/Session.h"
#include "startup/Texts.h"

#include <QAbstractItemView>
#include <QAction>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QScrollArea>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

void MainWindow::buildPanels()
{
    auto *central = new QWidget(this);
    central->setObjectName(QStringLiteral("centralPanel"));
    auto *outer = new QHBoxLayout(central);
    outer->setContentsMargins(8, 6, 8, 4);
    outer->setSpacing(8);

    // The list column: title and search bar over the list, the empty-list panel on top of it.
    auto *listPanel = new QWidget(central);
    listPanel->setObjectName(QStringLiteral("listPanel"));
    auto *listColumn = new QVBoxLayout(listPanel);
    listColumn->setContentsMargins(0, 0, 0, 0);
    listColumn->setSpacing(6);

    auto *header = new QHBoxLayout;
    header->setSpacing(6);
    m_titleLabel = new QLabel(listPanel);
    m_titleLabel->setObjectName(QStringLiteral("titleLabel"));
    QFont titleFont = m_titleLabel->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.35);
    m_titleLabel->setFont(titleFont);
    header->addWidget(m_titleLabel, 1);

    auto *searchBar = new QWidget(listPanel);
    searchBar->setObjectName(QStringLiteral("searchBar"));
    auto *searchRow = new QHBoxLayout(searchBar);
    searchRow->setContentsMargins(0, 0, 0, 0);
    searchRow->setSpacing(2);
    m_searchFrame = new QFrame(searchBar);
    m_searchFrame->setObjectName(QStringLiteral("searchFrame"));
    m_searchFrame->setFrameShape(QFrame::StyledPanel);
    m_searchFrame->setAutoFillBackground(true);
    auto *searchLine = new QHBoxLayout(m_searchFrame);
    searchLine->setContentsMargins(2, 1, 2, 1);
    searchLine->setSpacing(2);
    auto *searchIcon = new QToolButton(m_searchFrame);
    searchIcon->setObjectName(QStringLiteral("searchIcon"));
    searchIcon->setIcon(toolIcon(ToolIcon::Search));
    searchIcon->setAutoRaise(true);
    searchIcon->setFocusPolicy(Qt::NoFocus);
    searchIcon->setToolTip(plainCaption(307));   // "Find"
    searchIcon->setAccessibleName(searchIcon->toolTip());
    connect(searchIcon, &QToolButton::clicked, this, [this] { m_searchBox->setFocus(Qt::OtherFocusReason); });
    searchLine->addWidget(searchIcon);
    m_searchBox = new QLineEdit(m_searchFrame);
    m_searchBox->setObjectName(QStringLiteral("searchBox"));
    m_searchBox->setAccessibleName(plainCaption(307));   // "Find"
    m_searchBox->setFrame(false);
    m_searchBox->setMinimumWidth(200);
    m_searchBox->setAutoFillBackground(true);
    m_searchBox->installEventFilter(this);
    searchLine->addWidget(m_searchBox);
    searchRow->addWidget(m_searchFrame);
    auto *findToolBar = new QToolBar(searchBar);
    findToolBar->setObjectName(QStringLiteral("findToolBar"));
    findToolBar->setIconSize(QSize(16, 16));
    findToolBar->setWindowTitle(plainCaption(307));
    findToolBar->setAccessibleName(findToolBar->windowTitle());
    m_findNextButton = addToolButton(findToolBar, "findNextButton", ToolIcon::FindNext, 620);
    connect(m_findNextButton, &QAction::triggered, this, [this] { findNext(m_searchBox->text(), 1); });
    m_findPreviousButton = addToolButton(findToolBar, "findPreviousButton", ToolIcon::FindPrevious, 621);
    connect(m_findPreviousButton, &QAction::triggered, this, [this] { findPrevious(m_searchBox->text(), 1); });
    searchRow->addWidget(findToolBar);
    header->addWidget(searchBar);
    listColumn->addLayout(header);

    m_list = new DataGrid(listPanel);
    m_list->setObjectName(QStringLiteral("list"));
    m_list->installEventFilter(this);
    // The table itself is what a screen reader meets, not its frame.
    m_list->view()->setAccessibleName(Texts::text(2787));   // "Deadlines"
    listColumn->addWidget(m_list, 1);

    m_emptyListPanel = new QFrame(listPanel);
    m_emptyListPanel->setObjectName(QStringLiteral("emptyListPanel"));
    m_emptyListPanel->setFrameShape(QFrame::StyledPanel);
    m_emptyListPanel->setCursor(Qt::PointingHandCursor);
    m_emptyListPanel->setAutoFillBackground(true);
    auto *startLayout = new QVBoxLayout(m_emptyListPanel);
    startLayout->setContentsMargins(36, 24, 36, 24);
    m_emptyListLabel = new QLabel(Session::AppTitle.toUpper(), m_emptyListPanel);
    m_emptyListLabel->setObjectName(QStringLiteral("emptyListLabel"));
    m_emptyListLabel->setAlignment(Qt::AlignCenter);
    QFont startFont = m_emptyListLabel->font();
    startFont.setBold(true);
    startFont.setPointSizeF(startFont.pointSizeF() * 2.6);
    startFont.setLetterSpacing(QFont::PercentageSpacing, 115);
    m_emptyListLabel->setFont(startFont);
    m_emptyListLabel->setForegroundRole(QPalette::Mid);
    startLayout->addWidget(m_emptyListLabel);
    m_emptyListPanel->installEventFilter(this);
    m_emptyListLabel->installEventFilter(this);
    m_emptyListPanel->adjustSize();
    m_emptyListPanel->hide();
    outer->addWidget(listPanel, 1);

    // The calendar column: calendar, upcoming deadlines, notes of the current row.
    m_calendarPanel = new QWidget(central);
    m_calendarPanel->setObjectName(QStringLiteral("calendarPanel"));
    auto *side = new QVBoxLayout(m_calendarPanel);
    side->setContentsMargins(0, 0, 0, 0);
    side->setSpacing(6);
    m_calendar = new MonthCalendar(m_calendarPanel);
    m_calendar->setObjectName(QStringLiteral("calendar"));
    MonthCalendarTexts calendarTexts;
    calendarTexts.calendar = Texts::text(2302);
    calendarTexts.previousMonth = Texts::text(2303);
    calendarTexts.nextMonth = Texts::text(2304);
    calendarTexts.otherMonthDay = Texts::text(2305);
    calendarTexts.busyDay = Texts::text(2306);
    calendarTexts.today = Texts::text(2307);
    calendarTexts.selectedDay = Texts::text(2745);
    m_calendar->setTexts(calendarTexts);
    connect(m_calendar, &MonthCalendar::selectionChanged, this, &MainWindow::calendarSelectionChanged);
    connect(m_calendar, &MonthCalendar::busyDaysRequested, this, &MainWindow::calendarBusyDaysRequested);
    connect(m_calendar, &MonthCalendar::gotFocus, this, [this] { setStatusText(Texts::text(982)); });
    connect(m_calendar, &MonthCalendar::lostFocus, this, [this] { setStatusText(QString()); });
    connect(m_calendar, &MonthCalendar::keyDown, this,
            [this](int key, Qt::KeyboardModifiers modifiers, bool *consumed) {
                if (handleLayoutKey(key, modifiers))
                    *consumed = true;
            }, Qt::DirectConnection);
    side->addWidget(m_calendar, 0, Qt::AlignHCenter);

    m_upcomingList = new DataGrid(m_calendarPanel);
    m_upcomingList->setObjectName(QStringLiteral("upcomingList"));
    m_upcomingList->setNavigatorVisible(false);
    m_upcomingList->setPresenter(&m_upcomingPresenter);
    m_upcomingList->view()->setAccessibleName(Texts::text(2788));   // "Open deadlines of the selected days"
    // Enter and Space do what a click does.
    connect(m_upcomingList, &DataGrid::keyDown, this,
            [this](int key, Qt::KeyboardModifiers modifiers, bool *consumed) {
                if (modifiers & ~Qt::KeypadModifier)
                    return;
                if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) {
                    *consumed = true;
                    showUpcomingDeadline();
                }
            }, Qt::DirectConnection);
    if (auto *upcomingView = m_upcomingList->findChild<QAbstractItemView *>()) {
        m_upcomingViewport = upcomingView->viewport();
        m_upcomingViewport->installEventFilter(this);
        upcomingView->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    }
    side->addWidget(m_upcomingList, 3);

    auto *notesPanel = new QFrame(m_calendarPanel);
    notesPanel->setObjectName(QStringLiteral("notesPanel"));
    notesPanel->setFrameShape(QFrame::StyledPanel);
    auto *notes = new QVBoxLayout(notesPanel);
    notes->setContentsMargins(8, 6, 8, 6);
    notes->setSpacing(4);
    auto *notesHeading = new QWidget(notesPanel);
    notesHeading->setObjectName(QStringLiteral("notesHeading"));
    auto *notesHeader = new QHBoxLayout(notesHeading);
    notesHeader->setContentsMargins(0, 0, 0, 0);
    auto *notesIcon = new QLabel(notesHeading);
    notesIcon->setObjectName(QStringLiteral("notesIcon"));
    notesIcon->setPixmap(QIcon(iconResourcePath(3)).pixmap(16, 16));
    notesHeader->addWidget(notesIcon);
    auto *notesCaption = new QLabel(Texts::text(1012), notesHeading);   // "Notes"
    notesCaption->setObjectName(QStringLiteral("notesCaption"));
    QFont notesFont = notesCaption->font();
    notesFont.setBold(true);
    notesCaption->setFont(notesFont);
    notesHeader->addWidget(notesCaption, 1);
    notes->addWidget(notesHeading);

    // Notes can run to many lines: each label wraps and scrolls inside its own area.
    auto notesArea = [notesPanel](QLabel *&label, const QString &name, QWidget *icon) {
        auto *area = new QScrollArea(notesPanel);
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
    m_deadlineNotesArea = notesArea(m_deadlineNotes, QStringLiteral("deadlineNotes"), nullptr);
    notes->addWidget(m_deadlineNotesArea, 1);
    m_counterpartyNotesIcon = new QLabel;
    m_counterpartyNotesIcon->setObjectName(QStringLiteral("counterpartyNotesIcon"));
    m_counterpartyNotesIcon->setPixmap(QIcon(iconResourcePath(8)).pixmap(16, 16));
    m_counterpartyNotesArea =
        notesArea(m_counterpartyNotes, QStringLiteral("counterpartyNotes"), m_counterpartyNotesIcon);
    notes->addWidget(m_counterpartyNotesArea, 1);
    nameNotesAreas();
    m_counterpartyNotesIcon->hide();
    notesPanel->setMinimumHeight(110);
    side->addWidget(notesPanel, 2);

    outer->addWidget(m_calendarPanel, 0);
    setCentralWidget(central);
}

void MainWindow::buildStatusBar()
{
    statusBar()->setObjectName(QStringLiteral("statusBar"));
    m_statusHelp = new QLabel(statusBar());
    m_statusHelp->setObjectName(QStringLiteral("statusHelp"));
    m_statusHelp->setContentsMargins(4, 0, 4, 0);
    statusBar()->addWidget(m_statusHelp, 1);
    m_statusSheet = new QLabel(statusBar());
    m_statusSheet->setObjectName(QStringLiteral("statusSheet"));
    m_statusSheet->setContentsMargins(4, 0, 4, 0);
    statusBar()->addPermanentWidget(m_statusSheet);
    m_statusDue = new QLabel(statusBar());
    m_statusDue->setObjectName(QStringLiteral("statusDue"));
    m_statusDue->setContentsMargins(4, 0, 6, 0);
    m_statusDue->setFixedWidth(16 + 10);
    statusBar()->addPermanentWidget(m_statusDue);
}
