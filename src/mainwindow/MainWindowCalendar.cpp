// The calendar column: the selected period, bold days with open deadlines, the
// upcoming-deadlines panel and the sheet's title; plus the window's event filter
// for the controls that have no signals of their own for focus and keys.
#include "mainwindow/MainWindow.h"

#include "mainwindow/DeadlineList.h"
#include "platform/grid/DataGrid.h"
#include "startup/Session.h"
#include "startup/Texts.h"
#include "store/Database.h"
#include "store/SqlText.h"

#include <QAbstractItemView>
#include <QCalendarWidget>
#include <QComboBox>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTextCharFormat>

int MainWindow::currentView() const
{
    return m_viewCombo->currentIndex();
}

QDate MainWindow::selectionStart() const
{
    return m_calendar->selectedDate();
}

QDate MainWindow::selectionEnd() const
{
    return m_calendar->selectedDate();
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
    m_calendar->setDateTextFormat(QDate(), QTextCharFormat());
    // The 42 days on show: six weeks from the week that holds the 1st.
    const QDate firstOfMonth(m_calendar->yearShown(), m_calendar->monthShown(), 1);
    int lead = (firstOfMonth.dayOfWeek() - int(m_calendar->firstDayOfWeek()) + 7) % 7;
    if (lead == 0)
        lead = 7;
    const QDate first = firstOfMonth.addDays(-lead);
    const QDate last = first.addDays(41);
    try {
        Connection connection;
        connection.open(m_session.connectionString());
        Recordset rs;
        rs.open(QStringLiteral("SELECT Count(TrRowId) AS CTR, TrDate FROM Transactions WHERE (TrDate Between ")
                    + sqlDateLiteral(first) + QStringLiteral(" And ") + sqlDateLiteral(last)
                    + QStringLiteral(") AND TrDone=False AND TrDbId=") + QString::number(m_session.activeSheetId())
                    + QStringLiteral(" GROUP BY TrDate"),
                connection, CursorType::ForwardOnly);
        QTextCharFormat bold;
        bold.setFontWeight(QFont::Bold);
        while (!rs.eof()) {
            const QDate day = rs.field(QStringLiteral("TrDate")).toDate();
            if (day.isValid())
                m_calendar->setDateTextFormat(day, bold);
            rs.moveNext();
        }
        rs.close();
        connection.close();
    } catch (const DbError &) {
        // The marks are a hint; without the database the calendar stays plain.
    }
}

void MainWindow::refreshUpcoming(const QDate &from, const QDate &to)
{
    m_upcomingList->setUpdatesEnabled(false);
    m_upcomingList->setConnectionString(m_session.connectionString());
    m_upcomingList->setRecordSource(
        QStringLiteral("SELECT TrDescription, TrGrpType, TrGrpRow, TrGrpMDay, TrRowId FROM Transactions Where ")
        + QStringLiteral("(TrDate Between ") + sqlDateLiteral(from) + QStringLiteral(" And ") + sqlDateLiteral(to)
        + QStringLiteral(") AND TrDone=False AND TrDbId=") + QString::number(m_session.activeSheetId())
        + QStringLiteral(" ORDER BY TrDate DESC"));
    try {
        m_upcomingList->requery();
    } catch (const DbError &) {
    }
    GridModel *model = m_upcomingList->model();
    for (int column = 1; column <= model->columnTotal(); ++column)
        model->setColumnVisible(column, column == 1);
    if (model->columnTotal() >= 1) {
        model->setColumnCaption(1, Texts::text(1005));
        model->setColumnWidth(1, std::max(m_upcomingList->width() - 4, 40));
    }
    m_upcomingList->setCurrentRow(0);
    m_upcomingList->setUpdatesEnabled(true);
}

void MainWindow::updateStatus()
{
    m_titleLabel->setText(m_session.activeSheetName());
    m_statusSheet->setText(m_session.activeSheetName());
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (watched == m_viewCombo || watched == m_calendar || (m_calendarDays && watched == m_calendarDays)) {
        const int helpId = watched == m_viewCombo ? 980 : 982;
        if (type == QEvent::FocusIn)
            setStatusText(Texts::text(helpId));
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
            auto *key = static_cast<QKeyEvent *>(event);
            if (!key->text().isEmpty())
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
        if (type == QEvent::MouseButtonRelease) {
            const int row = m_upcomingList->currentRow();
            if (m_upcomingList->rowCount() > 0 && row >= 1)
                findDeadline(m_upcomingList->value(row, 5).toInt());
            m_list->focusList();
        }
    }
    return QMainWindow::eventFilter(watched, event);
}
