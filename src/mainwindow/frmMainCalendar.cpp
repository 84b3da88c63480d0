// The calendar column: the selected period, bold days with open deadlines, the
// upcoming-deadlines panel and the sheet's title; plus the window's event filter
// for the controls that have no signals of their own for focus and keys.
#include "mainwindow/frmMain.h"

#include "mainwindow/DeadlineList.h"
#include "platform/grid/DataGrid.h"
#include "startup/ResourceText.h"
#include "startup/mainmod.h"
#include "store/comDataBase.h"

#include <QAbstractItemView>
#include <QCalendarWidget>
#include <QComboBox>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTextCharFormat>

namespace {

QString DateLiteral(const QDate &date)
{
    return QLatin1Char('#') + date.toString(QStringLiteral("MM/dd/yyyy")) + QLatin1Char('#');
}

} // namespace

int frmMain::currentView() const
{
    return m_cmbFilter->currentIndex();
}

QDate frmMain::selectionStart() const
{
    return m_mv->selectedDate();
}

QDate frmMain::selectionEnd() const
{
    return m_mv->selectedDate();
}

void frmMain::mv_SelChange()
{
    gextasksUpdate(selectionStart(), selectionEnd());
    if (m_cmbFilter->currentIndex() == CalendarView)
        gexUpdate(CalendarView);
    picStartVisible();
}

void frmMain::mvGetDayBold()
{
    m_mv->setDateTextFormat(QDate(), QTextCharFormat());
    // The 42 days on show: six weeks from the week that holds the 1st.
    const QDate firstOfMonth(m_mv->yearShown(), m_mv->monthShown(), 1);
    int lead = (firstOfMonth.dayOfWeek() - int(m_mv->firstDayOfWeek()) + 7) % 7;
    if (lead == 0)
        lead = 7;
    const QDate first = firstOfMonth.addDays(-lead);
    const QDate last = first.addDays(41);
    try {
        Connection connection;
        connection.open(mainmod::ConnectionString);
        Recordset rs;
        rs.open(QStringLiteral("SELECT Count(TrRowId) AS CTR, TrDate FROM Transactions WHERE (TrDate Between ")
                    + DateLiteral(first) + QStringLiteral(" And ") + DateLiteral(last)
                    + QStringLiteral(") AND TrDone=False AND TrDbId=") + QString::number(mainmod::ActiveSheetId)
                    + QStringLiteral(" GROUP BY TrDate"),
                connection, CursorType::ForwardOnly);
        QTextCharFormat bold;
        bold.setFontWeight(QFont::Bold);
        while (!rs.eof()) {
            const QDate day = rs.field(QStringLiteral("TrDate")).toDate();
            if (day.isValid())
                m_mv->setDateTextFormat(day, bold);
            rs.moveNext();
        }
        rs.close();
        connection.close();
    } catch (const DbError &) {
        // The marks are a hint; without the database the calendar stays plain.
    }
}

void frmMain::gextasksUpdate(const QDate &from, const QDate &to)
{
    m_gextasks->setUpdatesEnabled(false);
    m_gextasks->setConnectionString(mainmod::ConnectionString);
    m_gextasks->setRecordSource(
        QStringLiteral("SELECT TrDescription, TrGrpType, TrGrpRow, TrGrpMDay, TrRowId FROM Transactions Where ")
        + QStringLiteral("(TrDate Between ") + DateLiteral(from) + QStringLiteral(" And ") + DateLiteral(to)
        + QStringLiteral(") AND TrDone=False AND TrDbId=") + QString::number(mainmod::ActiveSheetId)
        + QStringLiteral(" ORDER BY TrDate DESC"));
    try {
        m_gextasks->requery();
    } catch (const DbError &) {
    }
    GridModel *model = m_gextasks->model();
    for (int column = 1; column <= model->columnTotal(); ++column)
        model->setColumnVisible(column, column == 1);
    if (model->columnTotal() >= 1) {
        model->setColumnCaption(1, ResourceText(1005));
        model->setColumnWidth(1, std::max(m_gextasks->width() - 4, 40));
    }
    m_gextasks->setCurrentRow(0);
    m_gextasks->setUpdatesEnabled(true);
}

void frmMain::sbBallon()
{
    m_lblTitle->setText(mainmod::ActiveSheetName);
    m_sbPanel2->setText(mainmod::ActiveSheetName);
}

bool frmMain::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (watched == m_cmbFilter || watched == m_mv || (m_mvDays && watched == m_mvDays)) {
        const int helpId = watched == m_cmbFilter ? 980 : 982;
        if (type == QEvent::FocusIn)
            setStatusText(ResourceText(helpId));
        else if (type == QEvent::FocusOut)
            setStatusText(QString());
        else if (type == QEvent::KeyPress) {
            auto *key = static_cast<QKeyEvent *>(event);
            if (LayoutKey(key->key(), key->modifiers()))
                return true;
        }
    } else if (watched == m_txtFind) {
        if (type == QEvent::FocusIn) {
            m_txtFind->clear();
            m_txtFind->setCursorPosition(0);
            SetSearchMode(true);
        } else if (type == QEvent::KeyPress) {
            // The search runs with the text as it was before this key is applied.
            auto *key = static_cast<QKeyEvent *>(event);
            if (!key->text().isEmpty())
                SearchIncremental(m_txtFind->text(), 1);
        }
    } else if (watched == m_picStart || watched == m_lblStart) {
        if (type == QEvent::MouseButtonRelease) {
            OpenNuovo();
            return true;
        }
    } else if (watched == m_gex) {
        if (type == QEvent::Resize) {
            SizeListColumns();
            if (!m_picStart->isHidden())
                picStartVisible();
        }
    } else if (m_gextasksViewport && watched == m_gextasksViewport) {
        if (type == QEvent::MouseButtonRelease) {
            const int row = m_gextasks->currentRow();
            if (m_gextasks->rowCount() > 0 && row >= 1)
                gexFind(m_gextasks->value(row, 5).toInt());
            m_gex->focusList();
        }
    }
    return QMainWindow::eventFilter(watched, event);
}
