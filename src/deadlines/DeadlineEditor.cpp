#include "deadlines/DeadlineEditor.h"

#include "deadlines/AmountText.h"
#include "deadlines/DeadlineFormKeys.h"
#include "deadlines/DeadlineTypes.h"
#include "platform/DateBox.h"
#include "platform/Pauses.h"
#include "platform/Prompts.h"
#include "platform/UserActionGuard.h"
#include "platform/WidgetPrompts.h"
#include "startup/Session.h"
#include "startup/Texts.h"
#include "store/Database.h"
#include "store/DbErrorPrompt.h"
#include "store/Register.h"
#include "store/SqlText.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>

#include <cmath>

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
        Connection connection;
        connection.open(m_session.connectionString());
        m_update = DeadlineUpdate::read(connection, rowId);
        connection.close();
    });
    if (!read) {
        closeRecord();
        return;
    }
    if (!m_update) {
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

void DeadlineEditor::showStored(const QStringList &columns)
{
    const DeadlineUpdate &u = *m_update;
    const auto wanted = [&columns](const char *column) {
        return columns.isEmpty() || columns.contains(QLatin1String(column));
    };
    if (wanted("TrDate")) {
        m_dateEdit->setDate(u.stored(QStringLiteral("TrDate")).toDate());
        m_shown.insert(QStringLiteral("TrDate"), m_dateEdit->date());
    }
    if (wanted("TrDescription")) {
        m_fields.description()->setText(stringOrDefault(u.stored(QStringLiteral("TrDescription")), QString()));
        m_shown.insert(QStringLiteral("TrDescription"), m_fields.description()->text());
    }
    if (wanted("TrAcId")) {
        QComboBox *counterparty = m_fields.counterparty();
        const QVariant acId = u.stored(QStringLiteral("TrAcId"));
        const int at = acId.isValid() ? counterparty->findData(acId.toInt()) : -1;
        counterparty->setCurrentIndex(at > 0 ? at : 0);
        m_shown.insert(QStringLiteral("TrAcId"), m_fields.selectedCounterparty());
    }
    if (wanted("TrType")) {
        DeadlineTypes::selectType(m_fields.type(),
                                  int(std::lround(numberOrDefault(u.stored(QStringLiteral("TrType")), 1))));
        m_fields.type()->setEnabled(false);
    }
    if (wanted("TrValue")) {
        m_fields.amount()->setText(AmountText::format(u.stored(QStringLiteral("TrValue")).value<Currency>()));
        m_fields.applyTypeRule();
        m_shown.insert(QStringLiteral("TrValue"), m_fields.amount()->text());
    }
    if (wanted("TrNotes")) {
        m_fields.notes()->setPlainText(stringOrDefault(u.stored(QStringLiteral("TrNotes")), QString()));
        m_shown.insert(QStringLiteral("TrNotes"), m_fields.notes()->toPlainText());
    }
    if (wanted("TrDone")) {
        m_doneCheck->setChecked(u.stored(QStringLiteral("TrDone")).toBool());
        m_shown.insert(QStringLiteral("TrDone"), m_doneCheck->isChecked());
    }
}

// A column goes into the save only when its control no longer shows what it was
// filled with: an untouched box writes nothing, even where its text cannot hold
// the stored value exactly (notes' line ends, a description past the box's length).
void DeadlineEditor::gatherChanges()
{
    DeadlineUpdate &u = *m_update;
    u.forgetChanges();
    const auto edited = [this](const char *column, const QVariant &now) {
        return m_shown.value(QLatin1String(column)) != now;
    };
    if (edited("TrDate", m_dateEdit->date()))
        u.change(QStringLiteral("TrDate"), m_dateEdit->date());
    if (edited("TrDescription", m_fields.description()->text()))
        u.change(QStringLiteral("TrDescription"), m_fields.description()->text());
    if (edited("TrAcId", m_fields.selectedCounterparty()))
        u.change(QStringLiteral("TrAcId"), m_fields.selectedCounterparty());
    // An appointment keeps no amount, so value and balance are 0 and the balance
    // rule holds for it too.
    if (DeadlineTypes::isAppointment(m_fields.type()) || edited("TrValue", m_fields.amount()->text()))
        u.change(QStringLiteral("TrValue"), QVariant::fromValue(m_fields.amountToStore()));
    if (edited("TrNotes", m_fields.notes()->toPlainText()))
        u.change(QStringLiteral("TrNotes"), m_fields.notes()->toPlainText());
    if (edited("TrDone", m_doneCheck->isChecked()))
        u.change(QStringLiteral("TrDone"), m_doneCheck->isChecked());
}

void DeadlineEditor::save()
{
    if (!m_update || !m_fields.entriesHold() || !m_dateEdit->holdsDate())
        return;
    gatherChanges();
    DeadlineUpdate::Outcome outcome = DeadlineUpdate::Outcome::Written;
    const bool ran = DbErrorPrompt::run(m_session.connectionString(), [this, &outcome] {
        Connection connection;
        connection.open(m_session.connectionString());
        outcome = m_update->write(connection);
        connection.close();
    });
    if (!ran)
        return;   // nothing was written; the window keeps what was typed
    switch (outcome) {
    case DeadlineUpdate::Outcome::Gone:
        Prompt::message(Texts::text(RowGoneText), Session::AppTitle, Prompt::Icon::Information);
        return;
    case DeadlineUpdate::Outcome::Conflict:
        // The user's other changes stay in their boxes for the next Save.
        showStored(m_update->conflicts());
        Prompt::message(Texts::text(ChangedMeanwhileText), Session::AppTitle, Prompt::Icon::Warning);
        return;
    case DeadlineUpdate::Outcome::CounterpartyGone:
        m_fields.refuseGoneCounterparty();
        return;
    case DeadlineUpdate::Outcome::Written:
        break;
    }
    const qint32 rowId = m_update->rowId();
    closeRecord();
    Pauses::shortPause();
    // The editor opens only from the active sheet's list.
    emit m_session.deadlineRegister().deadlinesChanged(m_session.activeSheetId());
    emit deadlineSaved(rowId);
    hide();
    setResult(QDialog::Accepted);
}

void DeadlineEditor::closeRecord()
{
    m_update.reset();
    m_shown.clear();
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
