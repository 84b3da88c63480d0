#include "mainwindow/SearchBar.h"

#include "mainwindow/DeadlineList.h"
#include "mainwindow/ToolIcons.h"
#include "platform/grid/DataGrid.h"

#include <QAction>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPalette>
#include <QToolBar>
#include <QToolButton>

SearchBar::SearchBar(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("searchBar"));
    auto *searchRow = new QHBoxLayout(this);
    searchRow->setContentsMargins(0, 0, 0, 0);
    searchRow->setSpacing(2);
    m_frame = new QFrame(this);
    m_frame->setObjectName(QStringLiteral("searchFrame"));
    m_frame->setFrameShape(QFrame::StyledPanel);
    m_frame->setAutoFillBackground(true);
    auto *searchLine = new QHBoxLayout(m_frame);
    searchLine->setContentsMargins(2, 1, 2, 1);
    searchLine->setSpacing(2);
    auto *searchIcon = new QToolButton(m_frame);
    searchIcon->setObjectName(QStringLiteral("searchIcon"));
    searchIcon->setIcon(toolIcon(ToolIcon::Search));
    searchIcon->setAutoRaise(true);
    searchIcon->setFocusPolicy(Qt::NoFocus);
    searchIcon->setToolTip(plainCaption(307));   // "Find"
    searchIcon->setAccessibleName(searchIcon->toolTip());
    connect(searchIcon, &QToolButton::clicked, this, [this] { focusBox(Qt::OtherFocusReason); });
    searchLine->addWidget(searchIcon);
    m_box = new QLineEdit(m_frame);
    m_box->setObjectName(QStringLiteral("searchBox"));
    m_box->setAccessibleName(plainCaption(307));   // "Find"
    m_box->setFrame(false);
    m_box->setMinimumWidth(200);
    m_box->setAutoFillBackground(true);
    m_box->installEventFilter(this);
    searchLine->addWidget(m_box);
    searchRow->addWidget(m_frame);
    auto *findToolBar = new QToolBar(this);
    findToolBar->setObjectName(QStringLiteral("findToolBar"));
    findToolBar->setIconSize(QSize(16, 16));
    findToolBar->setWindowTitle(plainCaption(307));
    findToolBar->setAccessibleName(findToolBar->windowTitle());
    m_findNextButton = addToolButton(findToolBar, "findNextButton", ToolIcon::FindNext, 620);
    connect(m_findNextButton, &QAction::triggered, this, [this] { findNext(text(), 1); });
    m_findPreviousButton = addToolButton(findToolBar, "findPreviousButton", ToolIcon::FindPrevious, 621);
    connect(m_findPreviousButton, &QAction::triggered, this, [this] { findPrevious(text(), 1); });
    searchRow->addWidget(findToolBar);
}

SearchBar::~SearchBar()
{
    // The box loses the focus as it goes: no handler of a bar half gone must hear it.
    for (QObject *child : findChildren<QObject *>())
        disconnect(child, nullptr, this, nullptr);
}

QString SearchBar::text() const
{
    return m_box->text();
}

void SearchBar::focusBox(Qt::FocusReason reason)
{
    m_box->setFocus(reason);
}

void SearchBar::reset()
{
    m_box->clear();
    setSearchMode(false);
}

void SearchBar::setSearchMode(bool active)
{
    const QPalette::ColorRole role = active ? QPalette::Base : QPalette::Button;
    for (QWidget *w : {static_cast<QWidget *>(m_box), static_cast<QWidget *>(m_frame)}) {
        QPalette palette = w->palette();
        palette.setColor(QPalette::Base, palette.color(QPalette::Active, role));
        palette.setColor(QPalette::Window, palette.color(QPalette::Active, role));
        w->setPalette(palette);
    }
    if (!active)
        enableFinds(false);
}

void SearchBar::enableFinds(bool enabled)
{
    m_findNextButton->setEnabled(enabled);
    m_findPreviousButton->setEnabled(enabled);
    emit findEnabledChanged(enabled);
}

std::function<bool(const GridRow &)> SearchBar::searchMatches(const QString &text)
{
    // Worked out row by row as the search walks, never held for every row.
    return [text](const GridRow &row) {
        using namespace ListColumn;
        return !text.isEmpty()
            && searchText(row.field(TrDescription).toString(), row.field(AcName).toString(),
                          row.field(TrNotes).toString(), row.field(AcNotes).toString())
                   .contains(text, Qt::CaseInsensitive);
    };
}

void SearchBar::searchIncrementally(const QString &text, int minLength)
{
    if (text.trimmed().size() < minLength)
        return;
    // The current row itself counts: typing on keeps the row while it still matches.
    const int current = m_list->currentRow();
    m_list->model()->find(searchMatches(text), current > 0 ? current - 1 : 0, 1);
    m_list->scrollToCurrent();
    enableFinds(true);
}

void SearchBar::findNext(const QString &text, int minLength)
{
    if (text.trimmed().size() < minLength)
        return;
    m_list->model()->find(searchMatches(text), -1, 1);
    m_list->scrollToCurrent();
}

void SearchBar::findPrevious(const QString &text, int minLength)
{
    if (text.trimmed().size() < minLength)
        return;
    m_list->model()->find(searchMatches(text), -1, -1);
    m_list->scrollToCurrent();
}

bool SearchBar::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_box) {
        if (event->type() == QEvent::FocusIn) {
            m_box->clear();
            m_box->setCursorPosition(0);
            setSearchMode(true);
        } else if (event->type() == QEvent::KeyPress) {
            // The search runs with the text as it was before this key is applied.
            // Tab and Shift+Tab only leave the box: they search nothing.
            auto *key = static_cast<QKeyEvent *>(event);
            if (!key->text().isEmpty() && key->key() != Qt::Key_Tab && key->key() != Qt::Key_Backtab)
                searchIncrementally(m_box->text(), 1);
        }
    }
    return QWidget::eventFilter(watched, event);
}
