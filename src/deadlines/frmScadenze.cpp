#include "deadlines/frmScadenze.h"

#include "deadlines/AmountText.h"
#include "deadlines/DeadlineFormKeys.h"
#include "deadlines/DeadlineTypes.h"
#include "mainwindow/ListHost.h"
#include "platform/Pauses.h"
#include "platform/Prompts.h"
#include "platform/WidgetPrompts.h"
#include "startup/Texts.h"
#include "startup/Session.h"
#include "store/SqlText.h"
#include "store/Database.h"

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

frmScadenze::frmScadenze(ListHost &host, Session &session, QWidget *parent)
    : QDialog(parent)
    , m_host(host)
    , m_session(session)
    , m_fields(this, QStringLiteral("txtData2"), [this] { focusNextChild(); })
{
    setObjectName(QStringLiteral("frmScadenze"));
    setModal(false);
    buildControls();
    removeCloseCommand(this);
}

frmScadenze::~frmScadenze()
{
    closeRecord();
}

// The date and the done box are the editor's own; the rest comes with m_fields.
void frmScadenze::buildControls()
{
    setWindowTitle(Texts::text(1101));

    m_datData = DeadlineFields::datePicker(QStringLiteral("datData"), this);
    m_datData->setToolTip(Texts::text(1111));

    m_chkData = new QCheckBox(Texts::text(1107), this);
    m_chkData->setObjectName(QStringLiteral("chkData"));
    m_chkData->setToolTip(Texts::text(1115));

    const int labelIds[] = {1102, 1103, 1104, 1105, 1106, 1333};
    for (int i = 0; i < 6; ++i) {
        auto *label = new QLabel(Texts::text(labelIds[i]), this);
        label->setObjectName(QStringLiteral("lblData%1").arg(i));
        label->installEventFilter(this);
        m_lblData.append(label);
    }

    auto *grid = new QGridLayout;
    const int doneRow =
        m_fields.placeRows(grid, {m_lblData[0], m_lblData[2], m_lblData[3], m_lblData[4], m_lblData[5]}, 2);
    grid->addWidget(m_lblData[1], 1, 0);
    grid->addWidget(m_datData, 1, 1);
    grid->addWidget(m_chkData, doneRow, 1);
    m_fields.layOut(grid);
    m_fields.setTabOrder({m_datData}, {m_chkData});

    m_fields.keys()->watch(m_datData);
    m_fields.keys()->watch(m_chkData);
    connect(m_fields.saveButton(), &QPushButton::clicked, this, [this] { save(); });
}

void frmScadenze::InitCombos()
{
    m_fields.fillCounterparties(m_session.connectionString());
}

void frmScadenze::Apri(qint32 rowId)
{
    closeRecord();
    setWindowTitle(Texts::text(1101));
    m_fields.statusBar()->clearMessage();
    try {
        InitCombos();
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
    show();
    raise();
    activateWindow();
}

// Puts the record's columns into their controls.
void frmScadenze::showRecord()
{
    const Recordset &r = *m_record;
    m_datData->setDate(r.field(QStringLiteral("TrDate")).toDate());
    m_fields.description()->setText(stringOrDefault(r.field(QStringLiteral("TrDescription")), QString()));
    QComboBox *counterparty = m_fields.counterparty();
    const QVariant acId = r.field(QStringLiteral("TrAcId"));
    const int at = acId.isValid() ? counterparty->findData(acId.toInt()) : -1;
    counterparty->setCurrentIndex(at > 0 ? at : 0);
    m_fields.amount()->setText(AmountText::Format(r.field(QStringLiteral("TrValue")).value<Currency>()));
    m_fields.notes()->setPlainText(stringOrDefault(r.field(QStringLiteral("TrNotes")), QString()));
    m_fields.notes()->document()->setModified(false);
    m_chkData->setChecked(r.field(QStringLiteral("TrDone")).toBool());
    DeadlineTypes::SelectTrType(m_fields.type(),
                                int(std::lround(numberOrDefault(r.field(QStringLiteral("TrType")), 1))));
    m_fields.type()->setEnabled(false);
    m_fields.applyTypeRule();
}

void frmScadenze::save()
{
    if (!m_record || !m_fields.entriesHold())
        return;
    const int trType = DeadlineTypes::SelectedTrType(m_fields.type());
    // An appointment keeps no amount, so value and balance stay 0 and the balance
    // rule holds for it too.
    const Currency value = m_fields.amountToStore();
    qint32 rowId = 0;
    try {
        Recordset &r = *m_record;
        r.setField(QStringLiteral("TrDate"), m_datData->date());
        r.setField(QStringLiteral("TrDescription"), m_fields.description()->text());
        r.setField(QStringLiteral("TrAcId"), m_fields.selectedCounterparty());
        r.setField(QStringLiteral("TrValue"), QVariant::fromValue(value));
        // Notes read back from the box have their line ends made plain; untouched
        // notes keep the ones they were stored with.
        if (m_fields.notes()->document()->isModified())
            r.setField(QStringLiteral("TrNotes"), m_fields.notes()->toPlainText());
        r.setField(QStringLiteral("TrDone"), m_chkData->isChecked());
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
    RefreshAfterDeadlineSave(m_host, rowId);
    hide();
    setResult(QDialog::Accepted);
}

void frmScadenze::closeRecord()
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

void frmScadenze::reject()
{
    closeRecord();
    QDialog::reject();
}

bool frmScadenze::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonRelease) {
        // A label moves the focus to its field; the notes label has none.
        const QList<QWidget *> fields{m_fields.type(), m_datData, m_fields.description(), m_fields.counterparty(),
                                      m_fields.amount()};
        const int i = int(m_lblData.indexOf(static_cast<QLabel *>(watched)));
        if (i >= 0 && i < fields.size() && fields.at(i)->isEnabled())
            fields.at(i)->setFocus(Qt::MouseFocusReason);
    }
    return QDialog::eventFilter(watched, event);
}
