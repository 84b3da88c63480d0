#include "deadlines/NewDeadlineWindow.h"

#include "deadlines/AmountText.h"
#include "deadlines/DeadlineFormKeys.h"
#include "deadlines/DeadlineTypes.h"
#include "deadlines/RecurrenceDates.h"
#include "mainwindow/ChangeCaptions.h"
#include "platform/Clock.h"
#include "platform/DateBox.h"
#include "platform/LocaleDigits.h"
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

#include <QComboBox>
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
constexpr int PastSupportedRangeText = 2100;

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

NewDeadlineWindow::NewDeadlineWindow(Session &session, QWidget *parent)
    : QDialog(parent)
    , m_session(session)
    , m_fields(this, session.deadlineRegister(), [this] { focusNextChild(); })
{
    setObjectName(QStringLiteral("newDeadlineWindow"));
    setModal(false);
    buildControls();
    removeCloseCommand(this);
    resetToLoadState();
}

NewDeadlineWindow::~NewDeadlineWindow() = default;

// The single/recurring choice with its two panels is this window's own; the rest
// comes with m_fields.
void NewDeadlineWindow::buildControls()
{
    setWindowTitle(Texts::text(1100));

    m_singleOption = new QRadioButton(Texts::text(1128), this);
    m_singleOption->setObjectName(QStringLiteral("singleOption"));
    m_singleOption->setToolTip(Texts::text(1136));
    m_recurringOption = new QRadioButton(Texts::text(1120), this);
    m_recurringOption->setObjectName(QStringLiteral("recurringOption"));
    m_recurringOption->setToolTip(Texts::text(1136));

    m_singlePanel = new QWidget(this);
    m_singlePanel->setObjectName(QStringLiteral("singlePanel"));
    m_singleDate = DeadlineFields::datePicker(QStringLiteral("singleDate"), m_singlePanel);
    m_singleDate->setToolTip(Texts::text(1111));
    auto *singleLayout = new QGridLayout(m_singlePanel);
    singleLayout->setContentsMargins(0, 0, 0, 0);
    QLabel *dateLabel = captionLabel(1103, QStringLiteral("dateLabel"), m_singlePanel);
    DeadlineFields::label(dateLabel, m_singleDate);
    singleLayout->addWidget(dateLabel, 0, 0);
    singleLayout->addWidget(m_singleDate, 0, 1);
    singleLayout->setColumnStretch(2, 1);

    m_recurringPanel = new QWidget(this);
    m_recurringPanel->setObjectName(QStringLiteral("recurringPanel"));
    m_firstDate = DeadlineFields::datePicker(QStringLiteral("firstDate"), m_recurringPanel);
    m_firstDate->setToolTip(Texts::text(1133));
    m_countBox = new QLineEdit(m_recurringPanel);
    m_countBox->setObjectName(QStringLiteral("countBox"));
    m_countBox->setToolTip(Texts::text(1134));
    m_countBox->setAlignment(Qt::AlignRight);
    m_countBox->setMaximumWidth(60);
    m_countUp = new QToolButton(m_recurringPanel);
    m_countUp->setObjectName(QStringLiteral("countUp"));
    m_countUp->setArrowType(Qt::UpArrow);
    m_countUp->setFocusPolicy(Qt::NoFocus);
    m_countUp->setAccessibleName(Texts::text(2102));
    m_countDown = new QToolButton(m_recurringPanel);
    m_countDown->setObjectName(QStringLiteral("countDown"));
    m_countDown->setArrowType(Qt::DownArrow);
    m_countDown->setFocusPolicy(Qt::NoFocus);
    m_countDown->setAccessibleName(Texts::text(2103));
    auto *upDown = new QVBoxLayout;
    upDown->setSpacing(0);
    upDown->addWidget(m_countUp);
    upDown->addWidget(m_countDown);
    m_cadenceCombo = new QComboBox(m_recurringPanel);
    m_cadenceCombo->setObjectName(QStringLiteral("cadenceCombo"));
    m_cadenceCombo->setToolTip(Texts::text(1135));
    for (int id = 1150; id <= 1158; ++id)
        m_cadenceCombo->addItem(Texts::text(id));
    auto *recurringLayout = new QGridLayout(m_recurringPanel);
    recurringLayout->setContentsMargins(0, 0, 0, 0);
    QLabel *firstDateLabel = captionLabel(1129, QStringLiteral("firstDateLabel"), m_recurringPanel);
    QLabel *countLabel = captionLabel(1121, QStringLiteral("countLabel"), m_recurringPanel);
    QLabel *cadenceLabel = captionLabel(1122, QStringLiteral("cadenceLabel"), m_recurringPanel);
    DeadlineFields::label(firstDateLabel, m_firstDate);
    DeadlineFields::label(countLabel, m_countBox);
    DeadlineFields::label(cadenceLabel, m_cadenceCombo);
    recurringLayout->addWidget(firstDateLabel, 0, 0);
    recurringLayout->addWidget(m_firstDate, 0, 1, 1, 2);
    recurringLayout->addWidget(countLabel, 1, 0);
    recurringLayout->addWidget(m_countBox, 1, 1);
    recurringLayout->addLayout(upDown, 1, 2, Qt::AlignLeft);
    recurringLayout->addWidget(cadenceLabel, 2, 0);
    recurringLayout->addWidget(m_cadenceCombo, 2, 1, 1, 2);
    recurringLayout->setColumnStretch(3, 1);

    auto *grid = new QGridLayout;
    int row = m_fields.placeRows(grid,
                                 {captionLabel(1102, QStringLiteral("typeLabel"), this),
                                  captionLabel(1104, QStringLiteral("descriptionLabel"), this),
                                  captionLabel(1105, QStringLiteral("counterpartyLabel"), this),
                                  captionLabel(1106, QStringLiteral("amountLabel"), this),
                                  captionLabel(1333, QStringLiteral("notesLabel"), this)},
                                 1);
    auto *options = new QHBoxLayout;
    options->addWidget(m_singleOption);
    options->addWidget(m_recurringOption);
    options->addStretch();
    grid->addLayout(options, row++, 0, 1, 3);
    grid->addWidget(m_singlePanel, row++, 0, 1, 3);
    grid->addWidget(m_recurringPanel, row++, 0, 1, 3);
    m_fields.layOut(grid);
    m_fields.setTabOrder({},
                         {m_singleOption, m_recurringOption, m_singleDate, m_firstDate, m_countBox, m_cadenceCombo});

    DeadlineFormKeys *keys = m_fields.keys();
    for (QWidget *w : {static_cast<QWidget *>(m_singleOption), static_cast<QWidget *>(m_recurringOption),
                       static_cast<QWidget *>(m_singleDate), static_cast<QWidget *>(m_firstDate),
                       static_cast<QWidget *>(m_cadenceCombo)})
        keys->watch(w);
    keys->setDigitField(m_countBox);
    keys->setCheck(m_singleDate, [this] { return m_singleDate->acceptText(); });
    keys->setCheck(m_firstDate, [this] { return m_firstDate->acceptText(); });
    keys->setCheck(m_countBox, [this] { return countValid(); });

    connect(m_fields.type(), &QComboBox::currentIndexChanged, this, [this] { m_fields.applyTypeRule(); });
    connect(m_singleOption, &QRadioButton::clicked, this, [this] { chooseSingleOrRecurring(0); });
    connect(m_recurringOption, &QRadioButton::clicked, this, [this] { chooseSingleOrRecurring(1); });
    connect(m_countUp, &QToolButton::clicked, this, [this] { stepCount(1); });
    connect(m_countDown, &QToolButton::clicked, this, [this] { stepCount(-1); });
    m_saveGuard = new UserActionGuard(this, {m_fields.saveButton(), m_fields.cancelButton()});
    connect(m_fields.saveButton(), &QPushButton::clicked, this, [this] { m_saveGuard->run([this] { save(); }); });
}

// The state of a freshly loaded window.
void NewDeadlineWindow::resetToLoadState()
{
    m_targetGroupId = 0;
    QComboBox *counterparty = m_fields.counterparty();
    m_fields.type()->setEnabled(true);
    m_fields.description()->setEnabled(true);
    counterparty->setEnabled(true);
    DeadlineTypes::selectType(m_fields.type(), -2);
    m_fields.description()->clear();
    counterparty->setCurrentIndex(counterparty->count() > 0 ? 0 : -1);
    m_fields.amount()->clear();
    m_fields.notes()->clear();
    m_singleOption->setChecked(true);
    setBold(m_singleOption, false);
    setBold(m_recurringOption, false);
    m_singlePanel->setVisible(true);
    m_recurringPanel->setVisible(false);
    m_singleDate->setDate(Clock::today());
    m_firstDate->setDate(Clock::today());
    m_countBox->setText(QStringLiteral("2"));
    m_cadenceCombo->setCurrentIndex(0);
    m_fields.statusBar()->clearMessage();
    m_fields.applyTypeRule();
}

void NewDeadlineWindow::refillCounterparties()
{
    QComboBox *counterparty = m_fields.counterparty();
    const QVariant keep = counterparty->currentData();
    m_fields.fillCounterparties(m_session.connectionString());
    const int again = keep.isValid() ? counterparty->findData(keep) : -1;
    counterparty->setCurrentIndex(again > 0 ? again : 0);
}

void NewDeadlineWindow::openBlank()
{
    resetToLoadState();
    // Without the list the window still opens: a deadline needs no client/supplier.
    DbErrorPrompt::run(m_session.connectionString(), [this] { refillCounterparties(); });
    m_fields.amount()->setText(AmountText::format(Currency()));
    m_fields.applyTypeRule();
    showWindow();
}

void NewDeadlineWindow::openForGroup(int trType, const QString &description, qint32 acId, Currency value, qint32 grpId)
{
    resetToLoadState();
    // The new members take the group's client/supplier from the list: without
    // it they would be filed under none, so the window does not open.
    if (!DbErrorPrompt::run(m_session.connectionString(), [this] { refillCounterparties(); }))
        return;
    QComboBox *counterparty = m_fields.counterparty();
    m_fields.amount()->setText(AmountText::format(Currency()));
    DeadlineTypes::selectType(m_fields.type(), trType);
    m_fields.description()->setText(description);
    if (acId > 0) {
        const int at = counterparty->findData(acId);
        if (at >= 0)
            counterparty->setCurrentIndex(at);
    }
    m_fields.amount()->setText(AmountText::format(value));
    m_targetGroupId = grpId;
    m_fields.applyTypeRule();
    // The new members copy type, description and client/supplier of the group.
    m_fields.description()->setEnabled(false);
    m_fields.type()->setEnabled(false);
    counterparty->setEnabled(false);
    showWindow();
}

void NewDeadlineWindow::showWindow()
{
    show();
    raise();
    activateWindow();
    // Every opening starts on the first field, not where the last one ended (Save).
    m_fields.focusFirstField();
}

void NewDeadlineWindow::chooseSingleOrRecurring(int option)
{
    m_singlePanel->setVisible(option == 0);
    m_recurringPanel->setVisible(option == 1);
    setBold(m_singleOption, option == 0);
    setBold(m_recurringOption, option == 1);
    m_fields.statusBar()->showMessage((option == 0 ? m_singleOption : m_recurringOption)->toolTip());
}

void NewDeadlineWindow::stepCount(int delta)
{
    bool ok = false;
    int value = typedCount(&ok);
    if (!ok)
        value = SpinnerMin;
    value = qBound(SpinnerMin, qBound(SpinnerMin, value, SpinnerMax) + delta, SpinnerMax);
    m_countBox->setText(QString::number(value));
}

int NewDeadlineWindow::typedCount(bool *ok) const
{
    // A pasted count may be in the locale's own digits.
    return LocaleDigits::toAscii(m_countBox->text(), locale()).toInt(ok);
}

bool NewDeadlineWindow::countValid() const
{
    bool ok = false;
    const int n = typedCount(&ok);
    return ok && n >= 2 && n <= CountMax;
}

DeadlineStore::NewDeadlines NewDeadlineWindow::gatherDeadlines() const
{
    DeadlineStore::NewDeadlines d;
    d.sheetId = m_session.activeSheetId();
    d.type = DeadlineTypes::selectedType(m_fields.type());
    d.description = m_fields.description()->text();
    d.notes = m_fields.notes()->toPlainText();
    d.acId = m_fields.selectedCounterparty();
    d.value = m_fields.amountToStore();
    if (m_recurringOption->isChecked()) {
        const int cadence = m_cadenceCombo->currentIndex();
        d.dates = RecurrenceDates::memberDates(m_firstDate->date(), cadence, typedCount(nullptr));
        d.groupType = RecurrenceDates::cadenceCode(cadence);
    } else {
        d.dates = {m_singleDate->date()};
    }
    d.groupId = m_targetGroupId;
    return d;
}

void NewDeadlineWindow::save()
{
    if (!m_fields.entriesHold())
        return;
    const bool recurring = m_recurringOption->isChecked();
    if (!(recurring ? m_firstDate : m_singleDate)->holdsDate())
        return;
    if (recurring && !countValid()) {
        m_countBox->setFocus(Qt::OtherFocusReason);
        return;
    }
    if (recurring
        && !RecurrenceDates::fitsSupportedRange(m_firstDate->date(), m_cadenceCombo->currentIndex(), typedCount(nullptr))) {
        Prompt::message(Texts::text(PastSupportedRangeText), Session::AppTitle, Prompt::Icon::Warning);
        m_countBox->setFocus(Qt::OtherFocusReason);
        return;
    }
    const DeadlineStore::NewDeadlines deadlines = gatherDeadlines();
    DeadlineStore::CreatedDeadlines created;
    RowChange change;
    // A failed save keeps nothing of the batch; the window stays filled for
    // Retry or for another try after Cancel.
    if (!DbErrorPrompt::run(m_session.connectionString(), [&] {
            change = RowChange();
            created = DeadlineStore(m_session.connectionString()).createDeadlines(deadlines, &change);
        }))
        return;
    if (created.rowIds.isEmpty()) {
        m_fields.refuseGoneCounterparty();
        return;
    }
    Pauses::shortPause();
    emit m_session.deadlineRegister().deadlinesChanged(deadlines.sheetId, created.touched);
    m_session.deadlineRegister().recordChange(
        ChangeCaption::deadlineCaption(ChangeCaption::NewDeadline, change, false), std::move(change));
    // What was just made becomes the list's current row, so Enter edits it.
    emit deadlineSaved(created.rowIds.constFirst());
    hide();
    setResult(QDialog::Accepted);
}

void NewDeadlineWindow::reject()
{
    if (m_saveGuard->isRunning())
        return;
    QDialog::reject();
}
