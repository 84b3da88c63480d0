#include "deadlines/DeadlineEditor.h"

#include "deadlines/AmountText.h"
#include "deadlines/DeadlineFormKeys.h"
#include "deadlines/DeadlineTypes.h"
#include "mainwindow/DeadlineListHost.h"
#include "platform/Pauses.h"
#include "platform/Prompts.h"
#include "platform/UserActionGuard.h"
#include "platform/WidgetPrompts.h"
#include "startup/Session.h"
#include "startup/Texts.h"
#include "store/Database.h"
#include "store/SqlText.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextDocument>
#include <QStatusBar>

#include <cmath>

namespace {

const QString RowGoneText = QStringLiteral("The deadline no longer exists: it may have been deleted meanwhile.");

} // namespace

DeadlineEditor::DeadlineEditor(DeadlineListHost &host, Session &session, QWidget *parent)
    : QDialog(parent)
    , m_host(host)
    , m_session(session)
    , m_fields(this, [this] { focusNextChild(); })
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
    m_fields.keys()->watch(m_doneCheck);
    m_saveGuard = new UserActionGuard(this, {m_fields.saveButton(), m_fields.cancelButton()});
    connect(m_fields.saveButton(), &QPushButton::clicked, this, [this] { m_saveGuard->run([this] { save(); }); });
}

void DeadlineEditor::open(qint32 rowId)
{
    closeRecord();
    setWindowTitle(Texts::text(1101));
    m_fields.statusBar()->clearMessage();
    try {
        m_fields.fillCounterparties(m_session.connectionString());
        m_connection = std::make_unique<Connection>();
        m_connection->open(m_session.connectionString());
        m_record = std::make_unique<Recordset>();
        m_record->open(QStringLiteral("SELECT * FROM Transactions WHERE TrRowId=") + QString::number(rowId),
                       *m_connection, CursorType::Static);
    } catch (const DbError &e) {
        closeRecord();
        Prompt::message(e.description(), Session::AppTitle, Prompt::Icon::Critical);
        return;
    }
    if (m_record->eof()) {
        closeRecord();
        Prompt::message(RowGoneText, Session::AppTitle, Prompt::Icon::Information);
        return;
    }
    showRecord();
    // The type cannot change: the first field to edit is the date.
    m_dateEdit->setFocus(Qt::OtherFocusReason);
    show();
    raise();
    activateWindow();
}

// Puts the record's columns into their controls.
void DeadlineEditor::showRecord()
{
    const Recordset &r = *m_record;
    m_dateEdit->setDate(r.field(QStringLiteral("TrDate")).toDate());
    m_fields.description()->setText(stringOrDefault(r.field(QStringLiteral("TrDescription")), QString()));
    QComboBox *counterparty = m_fields.counterparty();
    const QVariant acId = r.field(QStringLiteral("TrAcId"));
    const int at = acId.isValid() ? counterparty->findData(acId.toInt()) : -1;
    counterparty->setCurrentIndex(at > 0 ? at : 0);
    m_fields.amount()->setText(AmountText::format(r.field(QStringLiteral("TrValue")).value<Currency>()));
    m_fields.notes()->setPlainText(stringOrDefault(r.field(QStringLiteral("TrNotes")), QString()));
    m_fields.notes()->document()->setModified(false);
    m_doneCheck->setChecked(r.field(QStringLiteral("TrDone")).toBool());
    DeadlineTypes::selectType(m_fields.type(),
                              int(std::lround(numberOrDefault(r.field(QStringLiteral("TrType")), 1))));
    m_fields.type()->setEnabled(false);
    m_fields.applyTypeRule();
}

void DeadlineEditor::save()
{
    if (!m_record || !m_fields.entriesHold())
        return;
    const int trType = DeadlineTypes::selectedType(m_fields.type());
    // An appointment keeps no amount, so value and balance stay 0 and the balance
    // rule holds for it too.
    const Currency value = m_fields.amountToStore();
    qint32 rowId = 0;
    try {
        Recordset &r = *m_record;
        r.setField(QStringLiteral("TrDate"), m_dateEdit->date());
        r.setField(QStringLiteral("TrDescription"), m_fields.description()->text());
        r.setField(QStringLiteral("TrAcId"), m_fields.selectedCounterparty());
        r.setField(QStringLiteral("TrValue"), QVariant::fromValue(value));
        // Notes read back from the box have their line ends made plain; untouched
        // notes keep the ones they were stored with.
        if (m_fields.notes()->document()->isModified())
            r.setField(QStringLiteral("TrNotes"), m_fields.notes()->toPlainText());
        r.setField(QStringLiteral("TrDone"), m_doneCheck->isChecked());
        r.setField(QStringLiteral("TrType"), trType);
        r.setField(QStringLiteral("TrBalance"), QVariant::fromValue(value.checkedMul(trType).value_or(Currency())));
        r.update();
        rowId = r.field(QStringLiteral("TrRowId")).toInt();
    } catch (const DbError &e) {
        m_record->cancelUpdate();
        Prompt::message(e.description(), Session::AppTitle, Prompt::Icon::Critical);
        return;
    }
    closeRecord();
    Pauses::shortPause();
    refreshAfterSave(m_host, rowId);
    hide();
    setResult(QDialog::Accepted);
}

void DeadlineEditor::closeRecord()
{
    if (m_record) {
        try {
            m_record->cancelUpdate();
            m_record->close();
        } catch (const DbError &) {
            // Nothing was pending; the record goes either way.
        }
        m_record.reset();
    }
    if (m_connection) {
        m_connection->close();
        m_connection.reset();
    }
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
