#include "mainwindow/UpcomingPanel.h"

#include "platform/grid/DataGrid.h"
#include "platform/grid/GridView.h"
#include "startup/Session.h"
#include "startup/Texts.h"
#include "store/DbError.h"
#include "store/DeadlineStore.h"
#include "store/Register.h"

#include <QAbstractItemView>
#include <QEvent>
#include <QVBoxLayout>

UpcomingPanel::UpcomingPanel(Session &session, QWidget *parent)
    : QWidget(parent)
    , m_session(session)
    , m_presenter(session)
{
    setObjectName(QStringLiteral("upcomingPanel"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_list = new DataGrid(this);
    m_list->setObjectName(QStringLiteral("upcomingList"));
    m_list->setNavigatorVisible(false);
    m_list->setPresenter(&m_presenter);
    m_list->view()->setAccessibleName(Texts::text(2788));   // "Open deadlines of the selected days"
    // Enter and Space do what a click does.
    connect(m_list, &DataGrid::keyDown, this,
            [this](int key, Qt::KeyboardModifiers modifiers, bool *consumed) {
                if (modifiers & ~Qt::KeypadModifier)
                    return;
                if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) {
                    *consumed = true;
                    chooseCurrent();
                }
            }, Qt::DirectConnection);
    if (auto *view = m_list->findChild<QAbstractItemView *>()) {
        m_viewport = view->viewport();
        m_viewport->installEventFilter(this);
        view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    }
    layout->addWidget(m_list);

    // The same days again, after any write to the active sheet.
    Register &changes = m_session.deadlineRegister();
    connect(&changes, &Register::deadlinesChanged, this, [this](qint32 sheetId) {
        if (sheetId == m_session.activeSheetId())
            showDays(m_first, m_last);
    });
    connect(&changes, &Register::activeSheetChanged, this, [this] { showDays(m_first, m_last); });
}

UpcomingPanel::~UpcomingPanel()
{
    for (QObject *child : findChildren<QObject *>())
        disconnect(child, nullptr, this, nullptr);
}

void UpcomingPanel::showDays(const QDate &first, const QDate &last)
{
    m_first = first;
    m_last = last;
    m_list->setUpdatesEnabled(false);
    try {
        DeadlineStore store(m_session.connectionString());
        m_list->model()->setRecords(
            UpcomingListPresenter::records(store.openRowsBetween(m_session.activeSheetId(), first, last)));
    } catch (const DbError &) {
        // The panel keeps what it showed; the list reports the file's trouble.
    }
    GridModel *model = m_list->model();
    for (int column = 1; column <= model->columnTotal(); ++column)
        model->setColumnVisible(column, column == 1);
    if (model->columnTotal() >= 1)
        model->setColumnCaption(1, Texts::text(1005));
    sizeColumn();
    m_list->setCurrentRow(0);
    m_list->setUpdatesEnabled(true);
}

void UpcomingPanel::sizeColumn()
{
    // The description takes the panel's whole width, so long ones stay readable.
    GridModel *model = m_list->model();
    if (model->columnTotal() >= 1 && m_viewport)
        model->setColumnWidth(1, std::max(m_viewport->width(), 40));
}

void UpcomingPanel::chooseCurrent()
{
    const int row = m_list->currentRow();
    emit deadlineChosen(m_list->rowCount() > 0 && row >= 1 ? m_list->value(row, 5).toInt() : 0);
}

bool UpcomingPanel::eventFilter(QObject *watched, QEvent *event)
{
    if (m_viewport && watched == m_viewport) {
        if (event->type() == QEvent::Resize)
            sizeColumn();
        else if (event->type() == QEvent::MouseButtonRelease)
            chooseCurrent();
    }
    return QWidget::eventFilter(watched, event);
}
