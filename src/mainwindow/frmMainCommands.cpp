// Commands on the list's rows (new, edit, close/re-open, delete, first/last),
// the grid's keys and focus, the notes panel and the incremental search.
#include "mainwindow/frmMain.h"

#include "deadlines/RecurrenceGroup.h"
#include "deadlines/frmGrpAdd.h"
#include "deadlines/frmGrpErase.h"
#include "deadlines/frmScadenze.h"
#include "deadlines/frmScadenzeNuovo.h"
#include "mainwindow/DeadlineList.h"
#include "platform/grid/DataGrid.h"
#include "platform/Pauses.h"
#include "platform/Prompts.h"
#include "startup/ResourceText.h"
#include "startup/mainmod.h"
#include "store/comDataBase.h"

#include <QAction>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>

#include <algorithm>

bool frmMain::isDeadlineRow(int row) const
{
    return row >= 1 && row <= m_gex->rowCount() && !m_gex->isGroupRow(row);
}

void frmMain::ReportDbError(const std::exception &error)
{
    QString text;
    if (const auto *db = dynamic_cast<const DbError *>(&error))
        text = QString::number(db->number()) + QStringLiteral(" - ") + db->description();
    else
        text = QString::fromLocal8Bit(error.what());
    Prompt::message(text, mainmod::AppTitle, Prompt::Icon::Critical, Prompt::Buttons::Ok);
}

frmScadenzeNuovo &frmMain::NuovoWindow()
{
    if (!m_frmScadenzeNuovo)
        m_frmScadenzeNuovo = new frmScadenzeNuovo(*this, this);
    return *m_frmScadenzeNuovo;
}

frmScadenze &frmMain::EditWindow()
{
    if (!m_frmScadenze)
        m_frmScadenze = new frmScadenze(*this, this);
    return *m_frmScadenze;
}

void frmMain::OpenNuovo()
{
    NuovoWindow().Nuovo();
}

void frmMain::NewDeadline(int row)
{
    if (!isDeadlineRow(row) || m_gex->value(row, ListColumn::TrGrpId).toInt() == 0) {
        OpenNuovo();
        return;
    }
    switch (frmGrpAdd::Apri(this)) {
    case GroupChoiceFirst:
        OpenNuovo();
        break;
    case GroupChoiceSecond:
        // The stored description, without the counter the list shows after it.
        NuovoWindow().Nuovo2(m_gex->value(row, ListColumn::TrType).toInt(),
                             m_gex->value(row, ListColumn::TrDescription).toString(),
                             m_gex->value(row, ListColumn::TrAcId).toInt(),
                             m_gex->value(row, ListColumn::TrValue).value<Currency>(),
                             m_gex->value(row, ListColumn::TrGrpId).toInt());
        break;
    default:
        break;
    }
}

void frmMain::EditDeadline()
{
    const int row = m_gex->currentRow();
    if (!isDeadlineRow(row))
        return;
    EditWindow().Apri(m_gex->value(row, ListColumn::TrRowId).toInt());
}

void frmMain::ToggleDone()
{
    const int row = m_gex->currentRow();
    if (!isDeadlineRow(row))
        return;
    const qint32 rowId = m_gex->value(row, ListColumn::TrRowId).toInt();
    try {
        Connection connection;
        connection.open(mainmod::ConnectionString);
        connection.execute(QStringLiteral("UPDATE Transactions SET Transactions.TrDone = Not [TrDone]")
                           + QStringLiteral(" WHERE Transactions.TrRowId=") + QString::number(rowId));
        connection.close();

        PauseShort();
        sbBallon();
        mvGetDayBold();
        gextasksUpdate(selectionStart(), selectionEnd());
        // Same record source: a deadline the view now hides leaves the list and
        // the row that followed it takes its place; when it was the last row, the
        // new last row does, so the list keeps a current row for the next key.
        m_gex->requery();
        m_gex->setCurrentRow(std::min(row, m_gex->rowCount()));
        m_gex->scrollToCurrent();
    } catch (const DbError &error) {
        ReportDbError(error);
    }
}

void frmMain::DeleteDeadline(int row)
{
    if (!isDeadlineRow(row))
        return;
    const qint32 rowId = m_gex->value(row, ListColumn::TrRowId).toInt();
    const qint32 grpId = m_gex->value(row, ListColumn::TrGrpId).toInt();
    try {
        if (grpId == 0) {
            if (Prompt::message(ResourceText(1055), QStringLiteral("Orvel"), Prompt::Icon::Question,
                                Prompt::Buttons::YesNo)
                != Prompt::Answer::Yes)
                return;
            Connection connection;
            connection.open(mainmod::ConnectionString);
            connection.execute(QStringLiteral("DELETE * FROM Transactions WHERE Transactions.TrRowId=")
                               + QString::number(rowId));
            connection.close();
        } else {
            switch (frmGrpErase::Apri(this)) {
            case GroupChoiceSecond: {
                Connection connection;
                connection.open(mainmod::ConnectionString);
                connection.execute(QStringLiteral("DELETE * FROM Transactions WHERE Transactions.TrGrpId=")
                                   + QString::number(grpId));
                connection.close();
                break;
            }
            case GroupChoiceFirst: {
                // The member goes and the rest is renumbered, or neither happens.
                Connection connection;
                connection.open(mainmod::ConnectionString);
                TransactionGuard transaction(connection);
                connection.execute(QStringLiteral("DELETE * FROM Transactions WHERE Transactions.TrRowId=")
                                   + QString::number(rowId));
                RenumberGroup(connection, grpId);
                transaction.commit();
                connection.close();
                break;
            }
            default:
                break;
            }
        }
    } catch (const DbError &error) {
        ReportDbError(error);
    }
    RefreshAfterDelete();
}

void frmMain::RefreshAfterDelete()
{
    PauseShort();
    try {
        sbBallon();
        mvGetDayBold();
        gextasksUpdate(selectionStart(), selectionEnd());
        m_gex->requery();
        picStartVisible();
    } catch (const DbError &error) {
        ReportDbError(error);
    }
}

void frmMain::gexFind(qint32 rowId)
{
    m_gex->model()->find(ListColumn::TrRowId, rowId, GridModel::FindMode::Equal, 0, 1);
    m_gex->scrollToCurrent();
}

void frmMain::FirstRow()
{
    m_gex->setCurrentRow(1);
    m_gex->scrollToCurrent();
}

void frmMain::LastRow()
{
    m_gex->setCurrentRow(m_gex->rowCount());
    m_gex->scrollToCurrent();
}

void frmMain::UpdateNotesPanel()
{
    const int row = m_gex->currentRow();
    // A group row or no row at all leaves the panel as it was.
    if (!isDeadlineRow(row))
        return;
    m_lblDeadlineNotes->setText(m_gex->value(row, ListColumn::TrNotes).toString());
    if (!m_gex->value(row, ListColumn::AcName).toString().isEmpty())
        m_lblAccNotes->setText(m_gex->value(row, ListColumn::AcNotes).toString());
    else
        m_lblAccNotes->clear();
    m_imgCliForNotes->setVisible(!m_lblAccNotes->text().isEmpty());
}

void frmMain::gex_KeyDown(int key, Qt::KeyboardModifiers modifiers, bool *consumed)
{
    const int row = m_gex->currentRow();
    if (row < 1)
        return;
    if (LayoutKey(key, modifiers)) {
        *consumed = true;
        return;
    }
    if (modifiers & (Qt::ControlModifier | Qt::AltModifier))
        return;
    switch (key) {
    case Qt::Key_Space:
        if (isDeadlineRow(row))
            ToggleDone();
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        *consumed = true;
        if (isDeadlineRow(row))
            EditDeadline();
        break;
    case Qt::Key_Delete:
        *consumed = true;
        if (isDeadlineRow(row))
            DeleteDeadline(row);
        break;
    default:
        break;
    }
}

void frmMain::gex_DblClick(int row)
{
    if (m_gex->rowCount() == 0) {
        OpenNuovo();
        return;
    }
    if (row >= 1 && isDeadlineRow(m_gex->currentRow()))
        EditDeadline();
}

void frmMain::gex_GotFocus()
{
    setStatusText(ResourceText(1056));
    m_txtFind->clear();
    SetSearchMode(false);
}

void frmMain::gex_LostFocus()
{
    setStatusText(QString());
}

void frmMain::SetSearchMode(bool active)
{
    const QPalette::ColorRole role = active ? QPalette::Base : QPalette::Button;
    for (QWidget *w : { static_cast<QWidget *>(m_txtFind), static_cast<QWidget *>(m_picSearchText) }) {
        QPalette palette = w->palette();
        palette.setColor(QPalette::Base, palette.color(QPalette::Active, role));
        palette.setColor(QPalette::Window, palette.color(QPalette::Active, role));
        w->setPalette(palette);
    }
    if (!active) {
        m_txtFindButtons[3]->setEnabled(false);
        m_txtFindButtons[5]->setEnabled(false);
        m_mnuRecord[7]->setEnabled(false);
        m_mnuRecord[8]->setEnabled(false);
    }
}

void frmMain::SearchIncremental(const QString &text, int minLength)
{
    if (text.trimmed().size() < minLength)
        return;
    // The current row itself counts: typing on keeps the row while it still matches.
    const int current = m_gex->currentRow();
    m_gex->model()->find(ListColumn::SearchField, text, GridModel::FindMode::Contains, current > 0 ? current - 1 : 0, 1);
    m_gex->scrollToCurrent();
    m_txtFindButtons[3]->setEnabled(true);
    m_txtFindButtons[5]->setEnabled(true);
    m_mnuRecord[7]->setEnabled(true);
    m_mnuRecord[8]->setEnabled(true);
}

void frmMain::FindNext(const QString &text, int minLength)
{
    if (text.trimmed().size() < minLength)
        return;
    m_gex->model()->find(ListColumn::SearchField, text, GridModel::FindMode::Contains, -1, 1);
    m_gex->scrollToCurrent();
}

void frmMain::FindPrevious(const QString &text, int minLength)
{
    if (text.trimmed().size() < minLength)
        return;
    m_gex->model()->find(ListColumn::SearchField, text, GridModel::FindMode::Contains, -1, -1);
    m_gex->scrollToCurrent();
}
