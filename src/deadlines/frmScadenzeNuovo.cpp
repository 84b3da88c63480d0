#include "deadlines/frmScadenzeNuovo.h"

#include "deadlines/AmountText.h"
#include "deadlines/DeadlineFormKeys.h"
#include "deadlines/DeadlineTypes.h"
#include "deadlines/NewDeadlines.h"
#include "deadlines/comDateLib.h"
#include "mainwindow/ListHost.h"
#include "platform/Clock.h"
#include "platform/Pauses.h"
#include "platform/Prompts.h"
#include "platform/WidgetPrompts.h"
#include "startup/ResourceText.h"
#include "startup/mainmod.h"
#include "store/SqlText.h"
#include "store/comDataBase.h"

#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <cmath>

namespace {

// The spinner's own range; a typed count may go past it.
constexpr int SpinnerMin = 1;
constexpr int SpinnerMax = 100;
// A typed count above this is refused: enough for daily deadlines over more than
// two years, and every member date still has a four-digit year.
constexpr int CountMax = 1000;

QLabel *captionLabel(int textId, const QString &name, QWidget *parent)
{
    auto *label = new QLabel(ResourceText(textId), parent);
    label->setObjectName(name);
    return label;
}

void setBold(QWidget *w, bool bold)
{
    QFont f = w->font();
    f.setBold(bold);
    w->setFont(f);
}

QDateEdit *datePicker(const QString &name, QWidget *parent)
{
    auto *date = new QDateEdit(parent);
    date->setObjectName(name);
    date->setCalendarPopup(true);
    date->setDisplayFormat(QLocale().dateFormat(QLocale::ShortFormat));
    return date;
}

} // namespace

frmScadenzeNuovo::frmScadenzeNuovo(ListHost &host, QWidget *parent)
    : QDialog(parent)
    , m_host(host)
{
    setObjectName(QStringLiteral("frmScadenzeNuovo"));
    setModal(false);
    buildControls();
    RemoveCloseCommand(this);
    resetToLoadState();
}

frmScadenzeNuovo::~frmScadenzeNuovo() = default;

void frmScadenzeNuovo::buildControls()
{
    setWindowTitle(ResourceText(1100));

    m_imgcmbData = new QComboBox(this);
    m_imgcmbData->setObjectName(QStringLiteral("imgcmbData"));
    m_imgcmbData->setToolTip(ResourceText(1110));
    DeadlineTypes::Fill(m_imgcmbData);

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
    m_txtNotes->setObjectName(QStringLiteral("txtData3"));
    m_txtNotes->setTabChangesFocus(true);
    m_txtNotes->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    m_optSingle = new QRadioButton(ResourceText(1128), this);
    m_optSingle->setObjectName(QStringLiteral("optgrp0"));
    m_optSingle->setToolTip(ResourceText(1136));
    m_optRecurring = new QRadioButton(ResourceText(1120), this);
    m_optRecurring->setObjectName(QStringLiteral("optgrp1"));
    m_optRecurring->setToolTip(ResourceText(1136));

    m_picSingle = new QWidget(this);
    m_picSingle->setObjectName(QStringLiteral("picgrp0"));
    m_datSingle = datePicker(QStringLiteral("datData0"), m_picSingle);
    m_datSingle->setToolTip(ResourceText(1111));
    auto *singleLayout = new QGridLayout(m_picSingle);
    singleLayout->setContentsMargins(0, 0, 0, 0);
    singleLayout->addWidget(captionLabel(1103, QStringLiteral("lblDate"), m_picSingle), 0, 0);
    singleLayout->addWidget(m_datSingle, 0, 1);
    singleLayout->setColumnStretch(2, 1);

    m_picRecurring = new QWidget(this);
    m_picRecurring->setObjectName(QStringLiteral("picgrp1"));
    m_datFirst = datePicker(QStringLiteral("datData1"), m_picRecurring);
    m_datFirst->setToolTip(ResourceText(1133));
    m_txtCount = new QLineEdit(m_picRecurring);
    m_txtCount->setObjectName(QStringLiteral("txtData2"));
    m_txtCount->setToolTip(ResourceText(1134));
    m_txtCount->setAlignment(Qt::AlignRight);
    m_txtCount->setMaximumWidth(60);
    m_upDownUp = new QToolButton(m_picRecurring);
    m_upDownUp->setObjectName(QStringLiteral("UpDown1Up"));
    m_upDownUp->setArrowType(Qt::UpArrow);
    m_upDownUp->setFocusPolicy(Qt::NoFocus);
    m_upDownDown = new QToolButton(m_picRecurring);
    m_upDownDown->setObjectName(QStringLiteral("UpDown1Down"));
    m_upDownDown->setArrowType(Qt::DownArrow);
    m_upDownDown->setFocusPolicy(Qt::NoFocus);
    auto *upDown = new QVBoxLayout;
    upDown->setSpacing(0);
    upDown->addWidget(m_upDownUp);
    upDown->addWidget(m_upDownDown);
    m_cmbCadenza = new QComboBox(m_picRecurring);
    m_cmbCadenza->setObjectName(QStringLiteral("cmbCadenza"));
    m_cmbCadenza->setToolTip(ResourceText(1135));
    for (int id = 1150; id <= 1158; ++id)
        m_cmbCadenza->addItem(ResourceText(id));
    auto *recurringLayout = new QGridLayout(m_picRecurring);
    recurringLayout->setContentsMargins(0, 0, 0, 0);
    recurringLayout->addWidget(captionLabel(1129, QStringLiteral("lblFirstDate"), m_picRecurring), 0, 0);
    recurringLayout->addWidget(m_datFirst, 0, 1, 1, 2);
    recurringLayout->addWidget(captionLabel(1121, QStringLiteral("lblCount"), m_picRecurring), 1, 0);
    recurringLayout->addWidget(m_txtCount, 1, 1);
    recurringLayout->addLayout(upDown, 1, 2, Qt::AlignLeft);
    recurringLayout->addWidget(captionLabel(1122, QStringLiteral("lblFrequency"), m_picRecurring), 2, 0);
    recurringLayout->addWidget(m_cmbCadenza, 2, 1, 1, 2);
    recurringLayout->setColumnStretch(3, 1);

    m_cmdSalva = new QPushButton(ResourceText(1108), this);
    m_cmdSalva->setObjectName(QStringLiteral("cmdSalva"));
    m_cmdSalva->setToolTip(ResourceText(1116));
    m_cmdAnnulla = new QPushButton(ResourceText(1109), this);
    m_cmdAnnulla->setObjectName(QStringLiteral("cmdAnnulla"));
    m_cmdAnnulla->setToolTip(ResourceText(1117));

    m_sb = new QStatusBar(this);
    m_sb->setObjectName(QStringLiteral("sb"));
    m_sb->setSizeGripEnabled(false);

    auto *grid = new QGridLayout;
    int row = 0;
    grid->addWidget(captionLabel(1102, QStringLiteral("lblType"), this), row, 0);
    grid->addWidget(m_imgcmbData, row++, 1, 1, 2);
    grid->addWidget(captionLabel(1104, QStringLiteral("lblDescription"), this), row, 0);
    grid->addWidget(m_txtDescription, row++, 1, 1, 2);
    grid->addWidget(captionLabel(1105, QStringLiteral("lblCounterparty"), this), row, 0);
    grid->addWidget(m_dtcData, row, 1);
    grid->addWidget(m_cmdAdd, row++, 2);
    grid->addWidget(captionLabel(1106, QStringLiteral("lblAmount"), this), row, 0);
    grid->addWidget(m_txtAmount, row++, 1);
    grid->addWidget(captionLabel(1333, QStringLiteral("lblNotes"), this), row, 0, Qt::AlignTop);
    grid->addWidget(m_txtNotes, row++, 1, 1, 2);
    auto *options = new QHBoxLayout;
    options->addWidget(m_optSingle);
    options->addWidget(m_optRecurring);
    options->addStretch();
    grid->addLayout(options, row++, 0, 1, 3);
    grid->addWidget(m_picSingle, row++, 0, 1, 3);
    grid->addWidget(m_picRecurring, row++, 0, 1, 3);
    grid->setColumnStretch(1, 1);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_cmdSalva);
    buttons->addWidget(m_cmdAnnulla);

    auto *main = new QVBoxLayout(this);
    main->addLayout(grid);
    main->addLayout(buttons);
    main->addWidget(m_sb);

    setTabOrder(m_imgcmbData, m_txtDescription);
    setTabOrder(m_txtDescription, m_dtcData);
    setTabOrder(m_dtcData, m_txtAmount);
    setTabOrder(m_txtAmount, m_txtNotes);
    setTabOrder(m_txtNotes, m_optSingle);
    setTabOrder(m_optSingle, m_optRecurring);
    setTabOrder(m_optRecurring, m_datSingle);
    setTabOrder(m_datSingle, m_datFirst);
    setTabOrder(m_datFirst, m_txtCount);
    setTabOrder(m_txtCount, m_cmbCadenza);
    setTabOrder(m_cmbCadenza, m_cmdSalva);
    setTabOrder(m_cmdSalva, m_cmdAnnulla);

    m_keys = new DeadlineFormKeys(this, m_sb, [this] { focusNextChild(); }, [this] { reject(); });
    for (QWidget *w : {static_cast<QWidget *>(m_imgcmbData), static_cast<QWidget *>(m_txtDescription),
                       static_cast<QWidget *>(m_dtcData), static_cast<QWidget *>(m_txtNotes),
                       static_cast<QWidget *>(m_optSingle), static_cast<QWidget *>(m_optRecurring),
                       static_cast<QWidget *>(m_datSingle), static_cast<QWidget *>(m_datFirst),
                       static_cast<QWidget *>(m_cmbCadenza)})
        m_keys->watch(w);
    m_keys->setDecimalField(m_txtAmount);
    m_keys->setDigitField(m_txtCount);
    m_keys->setKey(m_dtcData, Qt::Key_F5, [this] { addCounterparty(); });
    m_keys->setCheck(m_txtDescription, [this] { return descriptionValid(); });
    m_keys->setCheck(m_txtAmount, [this] { return amountValid(); });
    m_keys->setCheck(m_txtCount, [this] { return countValid(); });
    m_keys->setWithoutCheck(m_cmdAnnulla);
    m_keys->setWithoutTip(m_cmdAdd);
    // Esc on a button has no filter of its own.
    m_keys->watch(m_cmdSalva);
    m_keys->watch(m_cmdAnnulla);

    connect(m_imgcmbData, &QComboBox::currentIndexChanged, this, [this] { applyTypeRule(); });
    connect(m_optSingle, &QRadioButton::clicked, this, [this] { chooseSingleOrRecurring(0); });
    connect(m_optRecurring, &QRadioButton::clicked, this, [this] { chooseSingleOrRecurring(1); });
    connect(m_upDownUp, &QToolButton::clicked, this, [this] { stepCount(1); });
    connect(m_upDownDown, &QToolButton::clicked, this, [this] { stepCount(-1); });
    connect(m_cmdAdd, &QToolButton::clicked, this, [this] { addCounterparty(); });
    connect(m_cmdSalva, &QPushButton::clicked, this, [this] { save(); });
    connect(m_cmdAnnulla, &QPushButton::clicked, this, [this] { reject(); });
}

// The state of a freshly loaded window.
void frmScadenzeNuovo::resetToLoadState()
{
    m_targetGroupId = 0;
    m_imgcmbData->setEnabled(true);
    m_txtDescription->setEnabled(true);
    m_dtcData->setEnabled(true);
    DeadlineTypes::SelectTrType(m_imgcmbData, -2);
    m_txtDescription->clear();
    m_dtcData->setCurrentIndex(m_dtcData->count() > 0 ? 0 : -1);
    m_txtAmount->clear();
    m_txtNotes->clear();
    m_optSingle->setChecked(true);
    setBold(m_optSingle, false);
    setBold(m_optRecurring, false);
    m_picSingle->setVisible(true);
    m_picRecurring->setVisible(false);
    m_datSingle->setDate(Clock::today());
    m_datFirst->setDate(Clock::today());
    m_txtCount->setText(QStringLiteral("2"));
    m_cmbCadenza->setCurrentIndex(0);
    m_sb->clearMessage();
    applyTypeRule();
}

void frmScadenzeNuovo::InitCombos()
{
    const QVariant keep = m_dtcData->currentData();
    m_dtcData->clear();
    // The blank entry stands for "no client or supplier".
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
    const int again = keep.isValid() ? m_dtcData->findData(keep) : -1;
    m_dtcData->setCurrentIndex(again > 0 ? again : 0);
}

void frmScadenzeNuovo::Nuovo()
{
    resetToLoadState();
    try {
        InitCombos();
    } catch (const DbError &e) {
        Prompt::message(e.description(), mainmod::AppTitle, Prompt::Icon::Critical);
    }
    m_txtAmount->setText(AmountText::Format(Currency()));
    applyTypeRule();
    showWindow();
}

void frmScadenzeNuovo::Nuovo2(int trType, const QString &description, qint32 acId, Currency value, qint32 grpId)
{
    resetToLoadState();
    try {
        InitCombos();
    } catch (const DbError &e) {
        Prompt::message(e.description(), mainmod::AppTitle, Prompt::Icon::Critical);
    }
    m_txtAmount->setText(AmountText::Format(Currency()));
    DeadlineTypes::SelectTrType(m_imgcmbData, trType);
    m_txtDescription->setText(description);
    if (acId > 0) {
        const int at = m_dtcData->findData(acId);
        if (at >= 0)
            m_dtcData->setCurrentIndex(at);
    }
    m_txtAmount->setText(AmountText::Format(value));
    m_targetGroupId = grpId;
    applyTypeRule();
    // The new members copy type, description and client/supplier of the group.
    m_txtDescription->setEnabled(false);
    m_imgcmbData->setEnabled(false);
    m_dtcData->setEnabled(false);
    showWindow();
}

void frmScadenzeNuovo::showWindow()
{
    show();
    raise();
    activateWindow();
}

void frmScadenzeNuovo::applyTypeRule()
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

void frmScadenzeNuovo::chooseSingleOrRecurring(int option)
{
    m_picSingle->setVisible(option == 0);
    m_picRecurring->setVisible(option == 1);
    setBold(m_optSingle, option == 0);
    setBold(m_optRecurring, option == 1);
    m_sb->showMessage((option == 0 ? m_optSingle : m_optRecurring)->toolTip());
}

void frmScadenzeNuovo::stepCount(int delta)
{
    bool ok = false;
    int value = m_txtCount->text().toInt(&ok);
    if (!ok)
        value = SpinnerMin;
    value = qBound(SpinnerMin, qBound(SpinnerMin, value, SpinnerMax) + delta, SpinnerMax);
    m_txtCount->setText(QString::number(value));
}

void frmScadenzeNuovo::addCounterparty()
{
    // The client/supplier editor is not part of the program yet; the focus goes
    // back to the list as it will after the editor closes.
    m_dtcData->setFocus(Qt::OtherFocusReason);
}

bool frmScadenzeNuovo::descriptionValid() const
{
    return !m_txtDescription->text().isEmpty();
}

bool frmScadenzeNuovo::amountValid() const
{
    return AmountText::Parse(m_txtAmount->text()).has_value();
}

bool frmScadenzeNuovo::countValid() const
{
    bool ok = false;
    const int n = m_txtCount->text().toInt(&ok);
    return ok && n >= 2 && n <= CountMax;
}

NewDeadlineRequest frmScadenzeNuovo::gatherRequest() const
{
    NewDeadlineRequest r;
    r.values.sheetId = mainmod::ActiveSheetId;
    r.values.trType = DeadlineTypes::SelectedTrType(m_imgcmbData);
    r.values.description = m_txtDescription->text();
    r.values.notes = m_txtNotes->toPlainText();
    r.values.acId = qint32(std::lround(NumberOrDefault(m_dtcData->currentData(), 0)));
    if (r.values.trType != -2)
        r.values.amount = AmountText::Parse(m_txtAmount->text()).value_or(Currency());
    r.recurring = m_optRecurring->isChecked();
    r.date = r.recurring ? m_datFirst->date() : m_datSingle->date();
    r.cadence = m_cmbCadenza->currentIndex();
    r.count = m_txtCount->text().toInt();
    r.targetGroupId = m_targetGroupId;
    return r;
}

void frmScadenzeNuovo::save()
{
    if (!descriptionValid()) {
        m_txtDescription->setFocus(Qt::OtherFocusReason);
        return;
    }
    if (!DeadlineTypes::IsAppointment(m_imgcmbData) && !amountValid()) {
        m_txtAmount->setFocus(Qt::OtherFocusReason);
        return;
    }
    if (m_optRecurring->isChecked() && !countValid()) {
        m_txtCount->setFocus(Qt::OtherFocusReason);
        return;
    }
    try {
        SaveNewDeadlines(gatherRequest());
    } catch (const DbError &e) {
        // Nothing of the batch was kept; the window stays filled so the user can retry.
        Prompt::message(e.description(), mainmod::AppTitle, Prompt::Icon::Critical);
        return;
    }
    PauseShort();
    RefreshAfterDeadlineSave(m_host, 0);
    hide();
    setResult(QDialog::Accepted);
}

void frmScadenzeNuovo::reject()
{
    QDialog::reject();
}
