#include "deadlines/DeadlineEditor.h"

#include "deadlines/AmountText.h"
#include "deadlines/DeadlineFormKeys.h"
#include "deadlines/DeadlineTypes.h"
#include "mainwindow/ChangeCaptions.h"
#include "platform/DateBox.h"
#include "platform/Pauses.h"
#include "platform/Prompts.h"
#include "platform/UserActionGuard.h"
#include "platform/WidgetPrompts.h"
#include "startup/Session.h"
#include "startup/Texts.h"
#include "startup/DbErrorPrompt.h"
#include "store/DeadlineStore.h"
#include "store/Register.h"
#include "store/RowChange.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>

namespace {

constexpr int ChangedMeanwhileText = 2105;
constexpr int RowGoneText = 2106;

} // namespace

DeadlineEditor::DeadlineEditor(Session &session, QWidget *parent)
    : QDialog(parent)
    , m_session(session)
    , m_fields(this, session.deadlineRegister(), [this] { focusNextChild(); })
{
    setObjectName(QStringLiteral("deadlineEditor"));
    setModal(false);
    buildControls();
    removeCloseCommand(this);
}

DeadlineEditor::~DeadlineEditor()
{
    closeRecord();
}

// The date and the done box are the editor's own; the rest comes with m_fields.
void DeadlineEditor::buildControls()
{
    setWindowTitle(Texts::text(1101));

    m_dateEdit = DeadlineFields::datePicker(QStringLiteral("dateEdit"), this);
    m_dateEdit->setToolTip(Texts::text(1111));

    m_doneCheck = new QCheckBox(Texts::text(1107), this);
    m_doneCheck->setObjectName(QStringLiteral("doneCheck"));
    m_doneCheck->setToolTip(Texts::text(1115));

    const int labelIds[] = {1102, 1103, 1104, 1105, 1106, 1333};
    const char *const names[] = {"typeLabel", "dateLabel", "descriptionLabel", "counterpartyLabel", "amountLabel",
                                 "notesLabel"};
    for (int i = 0; i < 6; ++i) {
        auto *label = new QLabel(Texts::text(labelIds[i]), this);
        label->setObjectName(QLatin1String(names[i]));
        label->installEventFilter(this);
        m_captions.append(label);
    }

    auto *grid = new QGridLayout;
    const int doneRow =
        m_fields.placeRows(grid, {m_captions[0], m_captions[2], m_captions[3], m_captions[4], m_captions[5]}, 2);
    DeadlineFields::label(m_captions[1], m_dateEdit);
    grid->addWidget(m_captions[1], 1, 0);
    grid->addWidget(m_dateEdit, 1, 1);
    grid->addWidget(m_doneCheck, doneRow, 1);
    m_fields.layOut(grid);
    m_fields.setTabOrder({m_dateEdit}, {m_doneCheck});

    m_fields.keys()->watch(m_dateEdit);
    m_fields.keys()->setCheck(m_dateEdit, [this] { return m_dateEdit->acceptText(); });
    m_fields.keys()->watch(m_doneCheck);
    m_saveGuard = new UserActionGuard(this, {m_fields.saveButton(), m_fields.cancelButton()});
    connect(m_fields.saveButton(), &QPushButton::clicked, this, [this] { m_saveGuard->run([this] { save(); }); });
}

void DeadlineEditor::open(qint32 rowId)
{
    closeRecord();
    setWindowTitle(Texts::text(1101));
    m_fields.statusBar()->clearMessage();
    const bool read = DbErrorPrompt::run(m_session.connectionString(), [this, rowId] {
        m_fields.fillCounterparties(m_session.connectionString());
        // The row is read and the connection closed: nothing is held while the
        // user edits, and Save finds out what changed meanwhile.
        m_stored = DeadlineStore(m_session.connectionString()).readDeadline(rowId);
    });
    if (!read) {
        closeRecord();
        return;
    }
    if (!m_stored) {
        Prompt::message(Texts::text(RowGoneText), Session::AppTitle, Prompt::Icon::Information);
        return;
    }
    showStored();
    show();
    raise();
    activateWindow();
    // The type cannot change: the first field to edit is the date.
    m_dateEdit->setFocus(Qt::OtherFocusReason);
}

void DeadlineEditor::showStored(const QList<EditedColumn> &columns)
{
    const DeadlineStore::StoredDeadline &row = *m_stored;
    const auto wanted = [&columns](EditedColumn column) { return columns.isEmpty() || columns.contains(column); };
    if (wanted(EditedColumn::Date)) {
        m_dateEdit->setDate(row.date);
        m_shown.date = m_dateEdit->date();
    }
    if (wanted(EditedColumn::Description)) {
        m_fields.description()->setText(row.description);
        m_shown.description = m_fields.description()->text();
    }
    if (wanted(EditedColumn::Counterparty)) {
        QComboBox *counterparty = m_fields.counterparty();
        const int at = counterparty->findData(row.acId);
        counterparty->setCurrentIndex(at > 0 ? at : 0);
        m_shown.acId = m_fields.selectedCounterparty();
    }
    if (columns.isEmpty()) {
        DeadlineTypes::selectType(m_fields.type(), row.type);
        m_fields.type()->setEnabled(false);
    }
    if (wanted(EditedColumn::Value)) {
        m_fields.amount()->setText(AmountText::format(row.value));
        m_fields.applyTypeRule();
        m_shown.amount = m_fields.amount()->text();
    }
    if (wanted(EditedColumn::Notes)) {
        m_fields.notes()->setPlainText(row.notes);
        m_shown.notes = m_fields.notes()->toPlainText();
    }
    if (wanted(EditedColumn::Done)) {
        m_doneCheck->setChecked(row.done);
        m_shown.done = m_doneCheck->isChecked();
    }
}

// A column goes into the save only when its control no longer shows what it was
// filled with: an untouched box writes nothing, even where its text cannot hold
// the stored value exactly (notes' line ends, a description past the box's length).
DeadlineStore::DeadlineChanges DeadlineEditor::gatherChanges() const
{
    DeadlineStore::DeadlineChanges changes;
    if (m_dateEdit->date() != m_shown.date)
        changes.date = m_dateEdit->date();
    if (m_fields.description()->text() != m_shown.description)
        changes.description = m_fields.description()->text();
    if (m_fields.selectedCounterparty() != m_shown.acId)
        changes.acId = m_fields.selectedCounterparty();
    // An appointment keeps no amount, so value and balance are 0 and the balance
    // rule holds for it too.
    if (DeadlineTypes::isAppointment(m_fields.type()) || m_fields.amount()->text() != m_shown.amount)
        changes.value = m_fields.amountToStore();
    if (m_fields.notes()->toPlainText() != m_shown.notes)
        changes.notes = m_fields.notes()->toPlainText();
    if (m_doneCheck->isChecked() != m_shown.done)
        changes.done = m_doneCheck->isChecked();
    return changes;
}

void DeadlineEditor::save()
{
    if (!m_stored || !m_fields.entriesHold() || !m_dateEdit->holdsDate())
        return;
    const DeadlineStore::DeadlineChanges changes = gatherChanges();
    DeadlineStore::UpdateResult result;
    RowChange change;
    const bool ran = DbErrorPrompt::run(m_session.connectionString(), [&] {
        change = RowChange();
        result = DeadlineStore(m_session.connectionString()).updateDeadline(*m_stored, changes, &change);
    });
    if (!ran)
        return;   // nothing was written; the window keeps what was typed
    switch (result.outcome) {
    case DeadlineStore::UpdateOutcome::Gone:
        Prompt::message(Texts::text(RowGoneText), Session::AppTitle, Prompt::Icon::Information);
        return;
    case DeadlineStore::UpdateOutcome::Conflict:
        // The user's other changes stay in their boxes for the next Save, which
        // compares them with the row as it is now.
        m_stored = result.now;
        showStored(result.conflicts);
        Prompt::message(Texts::text(ChangedMeanwhileText), Session::AppTitle, Prompt::Icon::Warning);
        return;
    case DeadlineStore::UpdateOutcome::CounterpartyGone:
        m_fields.refuseGoneCounterparty();
        return;
    case DeadlineStore::UpdateOutcome::Written:
        break;
    }
    const qint32 rowId = m_stored->rowId;
    closeRecord();
    Pauses::shortPause();
    // The editor opens only from the active sheet's list, and writes only that row.
    emit m_session.deadlineRegister().deadlinesChanged(m_session.activeSheetId(), {rowId});
    m_session.deadlineRegister().recordChange(
        ChangeCaption::deadlineCaption(ChangeCaption::EditDeadline, change, true), std::move(change));
    emit deadlineSaved(rowId);
    hide();
    setResult(QDialog::Accepted);
}

void DeadlineEditor::closeRecord()
{
    m_stored.reset();
    m_shown = {};
}

void DeadlineEditor::reject()
{
    if (m_saveGuard->isRunning())
        return;
    closeRecord();
    QDialog::reject();
}

bool DeadlineEditor::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonRelease) {
        // A label moves the focus to its field; the notes label has none.
        const QList<QWidget *> fields{m_fields.type(), m_dateEdit, m_fields.description(), m_fields.counterparty(),
                                      m_fields.amount()};
        const int i = int(m_captions.indexOf(static_cast<QLabel *>(watched)));
        if (i >= 0 && i < fields.size() && fields.at(i)->isEnabled())
            fields.at(i)->setFocus(Qt::MouseFocusReason);
    }
    return QDialog::eventFilter(watched, event);
}
