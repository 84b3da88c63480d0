#include "deadlines/frmScadenze.h"

#include "deadlines/AmountText.h"
#include "deadlines/DeadlineFormKeys.h"
#include "deadlines/DeadlineTypes.h"
#include "mainwindow/ListHost.h"
#include "platform/Pauses.h"
#include "platform/Prompts.h"
#include "platform/WidgetPrompts.h"
#include "startup/ResourceText.h"
#include "startup/mainmod.h"
#include "store/SqlText.h"
#include "store/comDataBase.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <cmath>

namespace {

const QString RowGoneText = QStringLiteral("The deadline no longer exists: it may have been deleted meanwhile.");

} // namespace

frmScadenze::frmScadenze(ListHost &host, QWidget *parent)
    : QDialog(parent)
    , m_host(host)
{
    setObjectName(QStringLiteral("frmScadenze"));
    setModal(false);
    buildControls();
    RemoveCloseCommand(this);
}

frmScadenze::~frmScadenze()
{
    closeRecord();
}

void frmScadenze::buildControls()
{
    setWindowTitle(ResourceText(1101));

    m_imgcmbData = new QComboBox(this);
    m_imgcmbData->setObjectName(QStringLiteral("imgcmbData"));
    m_imgcmbData->setToolTip(ResourceText(1110));
    DeadlineTypes::Fill(m_imgcmbData);

    m_datData = new QDateEdit(this);
    m_datData->setObjectName(QStringLiteral("datData"));
    m_datData->setCalendarPopup(true);
    m_datData->setDisplayFormat(QLocale().dateFormat(QLocale::ShortFormat));
    m_datData->setToolTip(ResourceText(1111));

    m_txtDescription = new QLineEdit(this);
    m_txtDescription->setObjectName(QStringLiteral("txtData0"));
    m_txtDescription->setToolTip(ResourceText(1112));

    m_dtcData = new QComboBox(this);
    m_dtcData->setObjectName(QStringLiteral("dtcData"));
    m_dtcData->setToolTip(ResourceText(1113));
    m_cmdAdd = new QToolButton(this);
    m_cmdAdd->setObjectName(QStringLiteral("cmdAdd"));
    m_cmdAdd->setText(QStringLiteral("+"));
    m_cmdAdd->setFocusPolicy(Qt::NoFocus);

    m_txtAmount = new QLineEdit(this);
    m_txtAmount->setObjectName(QStringLiteral("txtData1"));
    m_txtAmount->setToolTip(ResourceText(1114));
    m_txtAmount->setAlignment(Qt::AlignRight);

    m_txtNotes = new QPlainTextEdit(this);
    m_txtNotes->setObjectName(QStringLiteral("txtData2"));
    m_txtNotes->setTabChangesFocus(true);
    m_txtNotes->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    m_chkData = new QCheckBox(ResourceText(1107), this);
    m_chkData->setObjectName(QStringLiteral("chkData"));
    m_chkData->setToolTip(ResourceText(1115));

    m_cmdSalva = new QPushButton(ResourceText(1108), this);
    m_cmdSalva->setObjectName(QStringLiteral("cmdSalva"));
    m_cmdSalva->setToolTip(ResourceText(1116));
    m_cmdAnnulla = new QPushButton(ResourceText(1109), this);
    m_cmdAnnulla->setObjectName(QStringLiteral("cmdAnnulla"));
    m_cmdAnnulla->setToolTip(ResourceText(1117));

    m_sb = new QStatusBar(this);
    m_sb->setObjectName(QStringLiteral("sb"));
    m_sb->setSizeGripEnabled(false);

    const int labelIds[] = {1102, 1103, 1104, 1105, 1106, 1333};
    for (int i = 0; i < 6; ++i) {
        auto *label = new QLabel(ResourceText(labelIds[i]), this);
        label->setObjectName(QStringLiteral("lblData%1").arg(i));
        label->installEventFilter(this);
        m_lblData.append(label);
    }

    auto *grid = new QGridLayout;
    grid->addWidget(m_lblData[0], 0, 0);
    grid->addWidget(m_imgcmbData, 0, 1, 1, 2);
    grid->addWidget(m_lblData[1], 1, 0);
    grid->addWidget(m_datData, 1, 1);
    grid->addWidget(m_lblData[2], 2, 0);
    grid->addWidget(m_txtDescription, 2, 1, 1, 2);
    grid->addWidget(m_lblData[3], 3, 0);
    grid->addWidget(m_dtcData, 3, 1);
    grid->addWidget(m_cmdAdd, 3, 2);
    grid->addWidget(m_lblData[4], 4, 0);
    grid->addWidget(m_txtAmount, 4, 1);
    grid->addWidget(m_lblData[5], 5, 0, Qt::AlignTop);
    grid->addWidget(m_txtNotes, 5, 1, 1, 2);
    grid->addWidget(m_chkData, 6, 1);
    grid->setColumnStretch(1, 1);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_cmdSalva);
    buttons->addWidget(m_cmdAnnulla);
    auto *main = new QVBoxLayout(this);
    main->addLayout(grid);
    main->addLayout(buttons);
    main->addWidget(m_sb);

    setTabOrder(m_imgcmbData, m_datData);
    setTabOrder(m_datData, m_txtDescription);
    setTabOrder(m_txtDescription, m_dtcData);
    setTabOrder(m_dtcData, m_txtAmount);
    setTabOrder(m_txtAmount, m_txtNotes);
    setTabOrder(m_txtNotes, m_chkData);
    setTabOrder(m_chkData, m_cmdSalva);
    setTabOrder(m_cmdSalva, m_cmdAnnulla);

    m_keys = new DeadlineFormKeys(this, m_sb, [this] { focusNextChild(); }, [this] { reject(); });
    for (QWidget *w : {static_cast<QWidget *>(m_imgcmbData), static_cast<QWidget *>(m_datData),
                       static_cast<QWidget *>(m_txtDescription), static_cast<QWidget *>(m_dtcData),
                       static_cast<QWidget *>(m_txtNotes), static_cast<QWidget *>(m_chkData),
                       static_cast<QWidget *>(m_cmdSalva), static_cast<QWidget *>(m_cmdAnnulla)})
        m_keys->watch(w);
    m_keys->setDecimalField(m_txtAmount);
    m_keys->setKey(m_dtcData, Qt::Key_F5, [this] { addCounterparty(); });
    m_keys->setCheck(m_txtDescription, [this] { return descriptionValid(); });
    m_keys->setCheck(m_txtAmount, [this] { return amountValid(); });
    m_keys->setWithoutCheck(m_cmdAnnulla);
    m_keys->setWithoutTip(m_cmdAdd);

    connect(m_cmdAdd, &QToolButton::clicked, this, [this] { addCounterparty(); });
    connect(m_cmdSalva, &QPushButton::clicked, this, [this] { save(); });
    connect(m_cmdAnnulla, &QPushButton::clicked, this, [this] { reject(); });
}

void frmScadenze::InitCombos()
{
    m_dtcData->clear();
    m_dtcData->addItem(QString(), QVariant());
    Connection connection;
    connection.open(mainmod::ConnectionString);
    Recordset rs;
    rs.open(QStringLiteral("SELECT AcId, AcName FROM Accounts ORDER BY AcName"), connection, CursorType::Static);
    while (!rs.eof()) {
        m_dtcData->addItem(StringOrDefault(rs.field(QStringLiteral("AcName")), QString()),
                           rs.field(QStringLiteral("AcId")));
        rs.moveNext();
    }
    rs.close();
    connection.close();
}

void frmScadenze::Apri(qint32 rowId)
{
    closeRecord();
    setWindowTitle(ResourceText(1101));
    m_sb->clearMessage();
    try {
        InitCombos();
        m_connection = std::make_unique<Connection>();
        m_connection->open(mainmod::ConnectionString);
        m_record = std::make_unique<Recordset>();
        m_record->open(QStringLiteral("SELECT * FROM Transactions WHERE TrRowId=") + QString::number(rowId),
                       *m_connection, CursorType::Static);
    } catch (const DbError &e) {
        closeRecord();
        Prompt::message(e.description(), mainmod::AppTitle, Prompt::Icon::Critical);
        return;
    }
    if (m_record->eof()) {
        closeRecord();
        Prompt::message(RowGoneText, mainmod::AppTitle, Prompt::Icon::Information);
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
    m_txtDescription->setText(StringOrDefault(r.field(QStringLiteral("TrDescription")), QString()));
    const QVariant acId = r.field(QStringLiteral("TrAcId"));
    const int at = acId.isValid() ? m_dtcData->findData(acId.toInt()) : -1;
    m_dtcData->setCurrentIndex(at > 0 ? at : 0);
    m_txtAmount->setText(AmountText::Format(r.field(QStringLiteral("TrValue")).value<Currency>()));
    m_txtNotes->setPlainText(StringOrDefault(r.field(QStringLiteral("TrNotes")), QString()));
    m_chkData->setChecked(r.field(QStringLiteral("TrDone")).toBool());
    DeadlineTypes::SelectTrType(m_imgcmbData,
                                int(std::lround(NumberOrDefault(r.field(QStringLiteral("TrType")), 1))));
    m_imgcmbData->setEnabled(false);
    applyTypeRule();
}

void frmScadenze::applyTypeRule()
{
    QPalette palette = m_txtAmount->palette();
    if (DeadlineTypes::IsAppointment(m_imgcmbData)) {
        m_txtAmount->setEnabled(false);
        m_txtAmount->clear();
        palette.setColor(QPalette::Base, palette.color(QPalette::Button));
    } else {
        m_txtAmount->setEnabled(true);
        palette.setColor(QPalette::Base, QPalette().color(QPalette::Base));
    }
    m_txtAmount->setPalette(palette);
}

void frmScadenze::addCounterparty()
{
    // The client/supplier editor is not part of the program yet.
    m_dtcData->setFocus(Qt::OtherFocusReason);
}

bool frmScadenze::descriptionValid() const
{
    return !m_txtDescription->text().isEmpty();
}

bool frmScadenze::amountValid() const
{
    return AmountText::Parse(m_txtAmount->text()).has_value();
}

void frmScadenze::save()
{
    if (!m_record)
        return;
    if (!descriptionValid()) {
        m_txtDescription->setFocus(Qt::OtherFocusReason);
        return;
    }
    const int trType = DeadlineTypes::SelectedTrType(m_imgcmbData);
    // An appointment keeps no amount, so value and balance stay 0 and the balance
    // rule holds for it too.
    Currency value;
    if (trType != -2) {
        const std::optional<Currency> typed = AmountText::Parse(m_txtAmount->text());
        if (!typed) {
            m_txtAmount->setFocus(Qt::OtherFocusReason);
            return;
        }
        value = *typed;
    }
    qint32 rowId = 0;
    try {
        Recordset &r = *m_record;
        r.setField(QStringLiteral("TrDate"), m_datData->date());
        r.setField(QStringLiteral("TrDescription"), m_txtDescription->text());
        r.setField(QStringLiteral("TrAcId"), qint32(std::lround(NumberOrDefault(m_dtcData->currentData(), 0))));
        r.setField(QStringLiteral("TrValue"), QVariant::fromValue(value));
        r.setField(QStringLiteral("TrNotes"), m_txtNotes->toPlainText());
        r.setField(QStringLiteral("TrDone"), m_chkData->isChecked());
        r.setField(QStringLiteral("TrType"), trType);
        r.setField(QStringLiteral("TrBalance"), QVariant::fromValue(value.checkedMul(trType).value_or(Currency())));
        r.update();
        rowId = r.field(QStringLiteral("TrRowId")).toInt();
    } catch (const DbError &e) {
        m_record->cancelUpdate();
        Prompt::message(e.description(), mainmod::AppTitle, Prompt::Icon::Critical);
        return;
    }
    closeRecord();
    PauseShort();
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
        const QList<QWidget *> fields{m_imgcmbData, m_datData, m_txtDescription, m_dtcData, m_txtAmount};
        const int i = int(m_lblData.indexOf(static_cast<QLabel *>(watched)));
        if (i >= 0 && i < fields.size() && fields.at(i)->isEnabled())
            fields.at(i)->setFocus(Qt::MouseFocusReason);
    }
    return QDialog::eventFilter(watched, event);
}
