// The calendar column: the selected period, bold days with open deadlines, the
// upcoming-deadlines panel and the sheet's title and due picture; plus the
// window's event filter for the controls that have no signals of their own for
// focus and keys.
#include "mainwindow/MainWindow.h"

#include "alerts/DueDeadlines.h"
#include "mainwindow/CalendarQueries.h"
#include "mainwindow/DeadlineList.h"
#include "platform/Clock.h"
#include "platform/calendar/MonthCalendar.h"
#include "platform/grid/DataGrid.h"
#include "startup/Session.h"
#include "startup/Texts.h"
#include "store/Connection.h"
#include "store/DbError.h"
#include "store/DeadlineStore.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QFrame>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

int MainWindow::currentView() const
{
    return m_viewCombo->currentIndex();
}

QDate MainWindow::selectionStart() const
{
    return m_calendar->selectionStart();
}

QDate MainWindow::selectionEnd() const
{
    return m_calendar->selectionEnd();
}

void MainWindow::calendarSelectionChanged()
{
    refreshUpcoming(selectionStart(), selectionEnd());
    if (m_viewCombo->currentIndex() == CalendarView)
        refreshList(CalendarView);
    updateEmptyListPanel();
}

void MainWindow::markBusyDays()
{
    // Every day on show, the neighbouring months' days included, from one grouped
    // statement rather than one per day.
    QSet<QDate> busy;
    try {
        Connection connection;
        connection.open(m_session.connectionString());
        busy = CalendarQueries::busyDays(connection, m_calendar->firstVisibleDate(), m_calendar->lastVisibleDate(),
                                         m_session.activeSheetId());
        connection.close();
    } catch (const DbError &) {
        // The marks are a hint; without the database the calendar stays plain.
    }
    m_calendar->setBusyDays(busy);
}

void MainWindow::calendarBusyDaysRequested(const QDate &first, int dayCount)
{
    // The calendar asks when other days come on show; it is answered day by day
    // on one connection, as it asks.
    try {
        Connection connection;
        connection.open(m_session.connectionString());
        const QSet<QDate> busy =
            CalendarQueries::busyDaysOneByOne(connection, first, dayCount, m_session.activeSheetId());
        connection.close();
        for (int i = 0; i < dayCount; ++i) {
            const QDate day = first.addDays(i);
            m_calendar->setDayBusy(day, busy.contains(day));
        }
    } catch (const DbError &) {
    }
}

void MainWindow::refreshUpcoming(const QDate &from, const QDate &to)
{
    m_upcomingList->setUpdatesEnabled(false);
    try {
        DeadlineStore store(m_session.connectionString());
        m_upcomingList->model()->setRecords(
            UpcomingListPresenter::records(store.openRowsBetween(m_session.activeSheetId(), from, to)));
    } catch (const DbError &) {
        // The panel keeps what it showed; the list reports the file's trouble.
    }
    GridModel *model = m_upcomingList->model();
    for (int column = 1; column <= model->columnTotal(); ++column)
        model->setColumnVisible(column, column == 1);
    if (model->columnTotal() >= 1)
        model->setColumnCaption(1, Texts::text(1005));
    sizeUpcomingColumn();
    m_upcomingList->setCurrentRow(0);
    m_upcomingList->setUpdatesEnabled(true);
}

void MainWindow::sizeUpcomingColumn()
{
    // The description takes the panel's whole width, so long ones stay readable.
    GridModel *model = m_upcomingList->model();
    if (model->columnTotal() >= 1 && m_upcomingViewport)
        model->setColumnWidth(1, std::max(m_upcomingViewport->width(), 40));
}

void MainWindow::showUpcomingDeadline()
{
    const int row = m_upcomingList->currentRow();
    if (m_upcomingList->rowCount() > 0 && row >= 1)
        findDeadline(m_upcomingList->value(row, 5).toInt());
    m_list->focusList();
}

void MainWindow::updateStatus()
{
    m_titleLabel->setText(m_session.activeSheetName());
    m_statusSheet->setText(m_session.activeSheetName());
    const int warnDays = m_session.display().warnDays;
    QString state;
    if (warnDays != DueDeadlines::NoWarning) {
        try {
            state = DueDeadlines::hasDueDeadlines(m_session.connectionString(), m_session.activeSheetId(), warnDays,
                                                  Clock::today())
                        ? QStringLiteral("due")
                        : QStringLiteral("none");
        } catch (const DbError &) {
        }
    }
    m_statusDue->setProperty("dueState", state);
    if (state.isEmpty()) {
        m_statusDue->clear();
        m_statusDue->setToolTip(QString());
        return;
    }
    const bool due = state == QLatin1String("due");
    m_statusDue->setPixmap(QIcon(due ? QStringLiteral(":/icons/due_pending.svg") : QStringLiteral(":/icons/due_none.svg"))
                               .pixmap(16, 16, QIcon::Normal));
    m_statusDue->setToolTip(Texts::text(due ? 2300 : 2301));
    m_statusDue->setAccessibleName(m_statusDue->toolTip());
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (watched == m_viewCombo) {
        if (type == QEvent::FocusIn)
            setStatusText(Texts::text(980));
        else if (type == QEvent::FocusOut)
            setStatusText(QString());
        else if (type == QEvent::KeyPress) {
            auto *key = static_cast<QKeyEvent *>(event);
            if (handleLayoutKey(key->key(), key->modifiers()))
                return true;
        }
    } else if (watched == m_searchBox) {
        if (type == QEvent::FocusIn) {
            m_searchBox->clear();
            m_searchBox->setCursorPosition(0);
            setSearchMode(true);
        } else if (type == QEvent::KeyPress) {
            // The search runs with the text as it was before this key is applied.
            // Tab and Shift+Tab only leave the box: they search nothing.
            auto *key = static_cast<QKeyEvent *>(event);
            if (!key->text().isEmpty() && key->key() != Qt::Key_Tab && key->key() != Qt::Key_Backtab)
                searchIncrementally(m_searchBox->text(), 1);
        }
    } else if (watched == m_emptyListPanel || watched == m_emptyListLabel) {
        if (type == QEvent::MouseButtonRelease) {
            openNewDeadline();
            return true;
        }
    } else if (watched == m_list) {
        if (type == QEvent::Resize) {
            sizeListColumns();
            if (!m_emptyListPanel->isHidden())
                updateEmptyListPanel();
        }
    } else if (m_upcomingViewport && watched == m_upcomingViewport) {
        if (type == QEvent::Resize) {
            sizeUpcomingColumn();
        } else if (type == QEvent::MouseButtonRelease) {
            showUpcomingDeadline();
        }
    }
    return QMainWindow::eventFilter(watched, event);
}
