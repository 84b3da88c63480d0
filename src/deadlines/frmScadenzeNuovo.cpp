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
#include "startup/Texts.h"
#include "startup/Session.h"
#include "store/Database.h"

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

namespace {

// The spinner's own range; a typed count may go past it.
constexpr int SpinnerMin = 1;
constexpr int SpinnerMax = 100;
// A typed count above this is refused: enough for daily deadlines over more than
// two years, and every member date still has a four-digit year.
constexpr int CountMax = 1000;

QLabel *captionLabel(int textId, const QString &name, QWidget *parent)
{
    auto *label = new QLabel(Texts::text(textId), parent);
    label->setObjectName(name);
    return label;
}

void setBold(QWidget *w, bool bold)
{
    QFont f = w->font();
    f.setBold(bold);
    w->setFont(f);
}

} // namespace

frmScadenzeNuovo::frmScadenzeNuovo(ListHost &host, Session &session, QWidget *parent)
    : QDialog(parent)
    , m_host(host)
    , m_session(session)
    , m_fields(this, QStringLiteral("txtData3"), [this] { focusNextChild(); })
{
    setObjectName(QStringLiteral("frmScadenzeNuovo"));
    setModal(false);
    buildControls();
    removeCloseCommand(this);
    resetToLoadState();
}

frmScadenzeNuovo::~frmScadenzeNuovo() = default;

// The single/recurring choice with its two panels is this window's own; the rest
// comes with m_fields.
void frmScadenzeNuovo::buildControls()
{
    setWindowTitle(Texts::text(1100));

    m_optSingle = new QRadioButton(Texts::text(1128), this);
    m_optSingle->setObjectName(QStringLiteral("optgrp0"));
    m_optSingle->setToolTip(Texts::text(1136));
    m_optRecurring = new QRadioButton(Texts::text(1120), this);
    m_optRecurring->setObjectName(QStringLiteral("optgrp1"));
    m_optRecurring->setToolTip(Texts::text(1136));

    m_picSingle = new QWidget(this);
    m_picSingle->setObjectName(QStringLiteral("picgrp0"));
    m_datSingle = DeadlineFields::datePicker(QStringLiteral("datData0"), m_picSingle);
    m_datSingle->setToolTip(Texts::text(1111));
    auto *singleLayout = new QGridLayout(m_picSingle);
    singleLayout->setContentsMargins(0, 0, 0, 0);
    singleLayout->addWidget(captionLabel(1103, QStringLiteral("lblDate"), m_picSingle), 0, 0);
    singleLayout->addWidget(m_datSingle, 0, 1);
    singleLayout->setColumnStretch(2, 1);

    m_picRecurring = new QWidget(this);
    m_picRecurring->setObjectName(QStringLiteral("picgrp1"));
    m_datFirst = DeadlineFields::datePicker(QStringLiteral("datData1"), m_picRecurring);
    m_datFirst->setToolTip(Texts::text(1133));
    m_txtCount = new QLineEdit(m_picRecurring);
    m_txtCount->setObjectName(QStringLiteral("txtData2"));
    m_txtCount->setToolTip(Texts::text(1134));
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
    m_cmbCadenza->setToolTip(Texts::text(1135));
    for (int id = 1150; id <= 1158; ++id)
        m_cmbCadenza->addItem(Texts::text(id));
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

    auto *grid = new QGridLayout;
    int row = m_fields.placeRows(grid,
                                 {captionLabel(1102, QStringLiteral("lblType"), this),
                                  captionLabel(1104, QStringLiteral("lblDescription"), this),
                                  captionLabel(1105, QStringLiteral("lblCounterparty"), this),
                                  captionLabel(1106, QStringLiteral("lblAmount"), this),
                                  captionLabel(1333, QStringLiteral("lblNotes"), this)},
                                 1);
    auto *options = new QHBoxLayout;
    options->addWidget(m_optSingle);
    options->addWidget(m_optRecurring);
    options->addStretch();
    grid->addLayout(options, row++, 0, 1, 3);
    grid->addWidget(m_picSingle, row++, 0, 1, 3);
    grid->addWidget(m_picRecurring, row++, 0, 1, 3);
    m_fields.layOut(grid);
    m_fields.setTabOrder({}, {m_optSingle, m_optRecurring, m_datSingle, m_datFirst, m_txtCount, m_cmbCadenza});

    DeadlineFormKeys *keys = m_fields.keys();
    for (QWidget *w : {static_cast<QWidget *>(m_optSingle), static_cast<QWidget *>(m_optRecurring),
                       static_cast<QWidget *>(m_datSingle), static_cast<QWidget *>(m_datFirst),
                       static_cast<QWidget *>(m_cmbCadenza)})
        keys->watch(w);
    keys->setDigitField(m_txtCount);
    keys->setCheck(m_txtCount, [this] { return countValid(); });

    connect(m_fields.type(), &QComboBox::currentIndexChanged, this, [this] { m_fields.applyTypeRule(); });
    connect(m_optSingle, &QRadioButton::clicked, this, [this] { chooseSingleOrRecurring(0); });
    connect(m_optRecurring, &QRadioButton::clicked, this, [this] { chooseSingleOrRecurring(1); });
    connect(m_upDownUp, &QToolButton::clicked, this, [this] { stepCount(1); });
    connect(m_upDownDown, &QToolButton::clicked, this, [this] { stepCount(-1); });
    connect(m_fields.saveButton(), &QPushButton::clicked, this, [this] { save(); });
}

// The state of a freshly loaded window.
void frmScadenzeNuovo::resetToLoadState()
{
    m_targetGroupId = 0;
    QComboBox *counterparty = m_fields.counterparty();
    m_fields.type()->setEnabled(true);
    m_fields.description()->setEnabled(true);
    counterparty->setEnabled(true);
    DeadlineTypes::SelectTrType(m_fields.type(), -2);
    m_fields.description()->clear();
    counterparty->setCurrentIndex(counterparty->count() > 0 ? 0 : -1);
    m_fields.amount()->clear();
    m_fields.notes()->clear();
    m_optSingle->setChecked(true);
    setBold(m_optSingle, false);
    setBold(m_optRecurring, false);
    m_picSingle->setVisible(true);
    m_picRecurring->setVisible(false);
    m_datSingle->setDate(Clock::today());
    m_datFirst->setDate(Clock::today());
    m_txtCount->setText(QStringLiteral("2"));
    m_cmbCadenza->setCurrentIndex(0);
    m_fields.statusBar()->clearMessage();
    m_fields.applyTypeRule();
}

void frmScadenzeNuovo::InitCombos()
{
    QComboBox *counterparty = m_fields.counterparty();
    const QVariant keep = counterparty->currentData();
    m_fields.fillCounterparties(m_session.connectionString());
    const int again = keep.isValid() ? counterparty->findData(keep) : -1;
    counterparty->setCurrentIndex(again > 0 ? again : 0);
}

void frmScadenzeNuovo::Nuovo()
{
    resetToLoadState();
    try {
        InitCombos();
    } catch (const DbError &e) {
        Prompt::message(e.description(), Session::AppTitle, Prompt::Icon::Critical);
    }
    m_fields.amount()->setText(AmountText::Format(Currency()));
    m_fields.applyTypeRule();
    showWindow();
}

void frmScadenzeNuovo::Nuovo2(int trType, const QString &description, qint32 acId, Currency value, qint32 grpId)
{
    resetToLoadState();
    try {
        InitCombos();
    } catch (const DbError &e) {
        Prompt::message(e.description(), Session::AppTitle, Prompt::Icon::Critical);
    }
    QComboBox *counterparty = m_fields.counterparty();
    m_fields.amount()->setText(AmountText::Format(Currency()));
    DeadlineTypes::SelectTrType(m_fields.type(), trType);
    m_fields.description()->setText(description);
    if (acId > 0) {
        const int at = counterparty->findData(acId);
        if (at >= 0)
            counterparty->setCurrentIndex(at);
    }
    m_fields.amount()->setText(AmountText::Format(value));
    m_targetGroupId = grpId;
    m_fields.applyTypeRule();
    // The new members copy type, description and client/supplier of the group.
    m_fields.description()->setEnabled(false);
    m_fields.type()->setEnabled(false);
    counterparty->setEnabled(false);
    showWindow();
}

void frmScadenzeNuovo::showWindow()
{
    show();
    raise();
    activateWindow();
}

void frmScadenzeNuovo::chooseSingleOrRecurring(int option)
{
    m_picSingle->setVisible(option == 0);
    m_picRecurring->setVisible(option == 1);
    setBold(m_optSingle, option == 0);
    setBold(m_optRecurring, option == 1);
    m_fields.statusBar()->showMessage((option == 0 ? m_optSingle : m_optRecurring)->toolTip());
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

bool frmScadenzeNuovo::countValid() const
{
    bool ok = false;
    const int n = m_txtCount->text().toInt(&ok);
    return ok && n >= 2 && n <= CountMax;
}

NewDeadlineRequest frmScadenzeNuovo::gatherRequest() const
{
    NewDeadlineRequest r;
    r.values.sheetId = m_session.activeSheetId();
    r.values.trType = DeadlineTypes::SelectedTrType(m_fields.type());
    r.values.description = m_fields.description()->text();
    r.values.notes = m_fields.notes()->toPlainText();
    r.values.acId = m_fields.selectedCounterparty();
    r.values.amount = m_fields.amountToStore();
    r.recurring = m_optRecurring->isChecked();
    r.date = r.recurring ? m_datFirst->date() : m_datSingle->date();
    r.cadence = m_cmbCadenza->currentIndex();
    r.count = m_txtCount->text().toInt();
    r.targetGroupId = m_targetGroupId;
    return r;
}

void frmScadenzeNuovo::save()
{
    if (!m_fields.entriesHold())
        return;
    if (m_optRecurring->isChecked() && !countValid()) {
        m_txtCount->setFocus(Qt::OtherFocusReason);
        return;
    }
    try {
        SaveNewDeadlines(m_session.connectionString(), gatherRequest());
    } catch (const DbError &e) {
        // Nothing of the batch was kept; the window stays filled so the user can retry.
        Prompt::message(e.description(), Session::AppTitle, Prompt::Icon::Critical);
        return;
    }
    Pauses::shortPause();
    RefreshAfterDeadlineSave(m_host, 0);
    hide();
    setResult(QDialog::Accepted);
}

void frmScadenzeNuovo::reject()
{
    QDialog::reject();
}
