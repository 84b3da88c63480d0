#include "reports/ReportWindow.h"

#include "export/SaveTarget.h"
#include "platform/ButtonKeys.h"
#include "platform/Clock.h"
#include "platform/DateBox.h"
#include "platform/Prompts.h"
#include "platform/ScreenFit.h"
#include "reports/AgingPrinting.h"
#include "reports/AgingReport.h"
#include "reports/ReportAssembly.h"
#include "reports/ReportDescription.h"
#include "reports/ReportPreview.h"
#include "reports/ReportPrinter.h"
#include "startup/Session.h"
#include "startup/Texts.h"
#include "store/AgingStore.h"
#include "store/CounterpartyStore.h"
#include "store/DbError.h"
#include "startup/DbErrorPrompt.h"
#include "store/ReportStore.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// Text ids of the window.
enum : int {
    TitleText = 205,
    OpenText = 952,
    ClosedText = 957,
    CounterpartyText = 1015,
    ShowTotalsText = 1214,
    ApplyText = 1255,
    FilterTab = 1606,
    PeriodText = 1608,
    CreditsText = 1610,
    DebitsText = 1612,
    AppointmentsText = 1614,
    GroupingTab = 1620,
    DateModeText = 1622,
    PreferencesTab = 1623,
    RepeatHeadersText = 1624,
    FirstGroupingItem = 1630,
    FirstDateModeItem = 1660,
    CalendarText = 2104,
    SavePdfCaption = 2601,
    PdfFilter = 2602,
    PdfNotWritten = 2603,
    PeriodStartText = 2801,
    PeriodEndText = 2802,
    CounterpartyNameText = 2803,
};

constexpr int GroupingCount = 5;
constexpr int DateModeCount = 5;

// The option panel's width and the window's designed size in pixels: room for
// the filters beside a readable page of the preview.
constexpr int OptionPanelWidth = 365;
constexpr QSize DesignedSize(1280, 820);

// A caption without its mnemonic and its tab number ("&2 Grouping" reads
// "Grouping"), for a label inside the tab that already carries both.
QString labelText(int id)
{
    QString text = Texts::text(id).remove(QLatin1Char('&')).trimmed();
    qsizetype digits = 0;
    while (digits < text.size() && text[digits].isDigit())
        ++digits;
    return digits > 0 ? text.mid(digits).trimmed() : text;
}

QFrame *separator(QWidget *parent)
{
    auto *line = new QFrame(parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

QCheckBox *checkBox(int textId, const char *name, bool checked, QWidget *parent)
{
    auto *box = new QCheckBox(Texts::text(textId), parent);
    box->setObjectName(QLatin1String(name));
    box->setChecked(checked);
    return box;
}

void reportError(const QString &text)
{
    Prompt::message(text, Session::AppTitle, Prompt::Icon::Critical, Prompt::Buttons::Ok);
}

} // namespace

ReportWindow::ReportWindow(Session &session, QWidget *parent, Content content)
    : QDialog(parent)
    , m_session(session)
    , m_content(content)
    , m_texts(programReportTexts())
    , m_printer(QPrinter::HighResolution)
{
    setObjectName(QStringLiteral("reportWindow"));
    setWindowTitle(Texts::text(TitleText));

    // Paper from the default printer, sizes in the locale's unit.
    prepareReportPrinter(m_printer, QLocale());

    auto *panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("optionPanel"));
    panel->setMaximumWidth(OptionPanelWidth);
    m_tabs = new QTabWidget(panel);
    m_tabs->setObjectName(QStringLiteral("optionTabs"));
    // On a small screen every tab stays in view, its caption shortened if need be.
    m_tabs->setUsesScrollButtons(false);
    m_tabs->setElideMode(Qt::ElideRight);
    m_tabs->addTab(buildFilterPage(), Texts::text(FilterTab));
    m_tabs->addTab(buildGroupingPage(), Texts::text(GroupingTab));
    m_tabs->addTab(buildPreferencesPage(), Texts::text(PreferencesTab));
    m_applyButton = new QPushButton(Texts::text(ApplyText), panel);
    m_applyButton->setObjectName(QStringLiteral("applyButton"));
    m_applyButton->setAutoDefault(false);
    connect(m_applyButton, &QPushButton::clicked, this, &ReportWindow::apply);
    enterClicksFocusedButton(this);
    auto *panelLayout = new QVBoxLayout(panel);
    panelLayout->setContentsMargins(0, 0, 0, 0);
    panelLayout->addWidget(m_tabs, 1);
    panelLayout->addWidget(m_applyButton, 0, Qt::AlignRight);
    // The panel's preferred width; on a small screen it gives way down to what
    // its controls need.
    panelLayout->addSpacerItem(new QSpacerItem(OptionPanelWidth, 0, QSizePolicy::Preferred, QSizePolicy::Fixed));

    m_preview = new ReportPreview(&m_printer, this);
    m_preview->setObjectName(QStringLiteral("reportPreview"));
    connect(m_preview, &QPrintPreviewDialog::paintRequested, this,
            [this](QPrinter *printer) { ReportPrinter(m_document).print(printer); });
    connect(m_preview, &ReportPreview::closeRequested, this, &QDialog::reject);
    connect(m_preview, &ReportPreview::savePdfRequested, this, &ReportWindow::saveAsPdf);

    // The commands as buttons in the Tab order, always in view below the preview;
    // Ctrl+P prints and Ctrl+W closes, as elsewhere on the desktop.
    auto *buttons = new QHBoxLayout;
    const auto commandButton = [this, buttons](QAction *action, const char *name) {
        auto *button = new QPushButton(action->icon(), action->text(), this);
        button->setObjectName(QLatin1String(name));
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, action, &QAction::trigger);
        buttons->addWidget(button);
        return button;
    };
    if (m_preview->pageSetupAction())
        commandButton(m_preview->pageSetupAction(), "pageSetupButton");
    if (QAction *print = m_preview->printAction()) {
        commandButton(print, "printButton");
        print->setShortcut(QKeySequence::Print);
        print->setShortcutContext(Qt::WindowShortcut);
        addAction(print);
    }
    commandButton(m_preview->savePdfAction(), "savePdfButton");
    buttons->addStretch(1);
    commandButton(m_preview->closeAction(), "closeButton");
    m_preview->closeAction()->setShortcut(QKeySequence::Close);
    m_preview->closeAction()->setShortcutContext(Qt::WindowShortcut);
    addAction(m_preview->closeAction());

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    auto *panes = new QHBoxLayout;
    panes->addWidget(panel);
    panes->addWidget(m_preview, 1);
    layout->addLayout(panes, 1);
    layout->addLayout(buttons);
    // As designed where the screen has room; on a small or scaled screen, what fits.
    resize(fitOnScreen(this, DesignedSize));

    if (m_content == Content::Aging) {
        setWindowTitle(Texts::text(AgingText::Title));
        panel->hide();
        // Seven columns of money and a date beside each name need the paper's width.
        m_printer.setPageOrientation(QPageLayout::Landscape);
        m_applyState.setReady();
        apply();
        return;
    }
    loadPeriodBounds();
    // Restricting to a client or supplier needs at least one of them.
    try {
        m_counterpartyBox->setEnabled(!CounterpartyStore(m_session.connectionString()).list().empty());
    } catch (const DbError &) {
        m_counterpartyBox->setEnabled(false);
    }
    m_groupingCombo->setCurrentIndex(0);
    groupingChosen(0);

    m_applyState.setReady();
    apply();
}

ReportWindow::~ReportWindow() = default;

QWidget *ReportWindow::buildFilterPage()
{
    auto *page = new QWidget;
    auto *layout = new QVBoxLayout(page);

    const bool stateDefaults[] = {true, false};
    const int stateTexts[] = {OpenText, ClosedText};
    const char *stateNames[] = {"openBox", "closedBox"};
    for (int box = 0; box < 2; ++box) {
        m_stateBoxes[box] = checkBox(stateTexts[box], stateNames[box], stateDefaults[box], page);
        connect(m_stateBoxes[box], &QCheckBox::clicked, this, [this, box](bool on) { stateClicked(box, on); });
        layout->addWidget(m_stateBoxes[box]);
    }
    layout->addWidget(separator(page));

    const int typeTexts[] = {CreditsText, DebitsText, AppointmentsText};
    const char *typeNames[] = {"creditsBox", "debitsBox", "appointmentsBox"};
    for (int box = 0; box < 3; ++box) {
        m_typeBoxes[box] = checkBox(typeTexts[box], typeNames[box], true, page);
        connect(m_typeBoxes[box], &QCheckBox::clicked, this, [this, box](bool on) { typeClicked(box, on); });
        layout->addWidget(m_typeBoxes[box]);
    }
    layout->addWidget(separator(page));

    m_periodBox = checkBox(PeriodText, "periodBox", false, page);
    layout->addWidget(m_periodBox);
    auto *dates = new QHBoxLayout;
    dates->setContentsMargins(20, 0, 0, 0);
    for (DateBox **edit : {&m_periodFirst, &m_periodLast}) {
        *edit = new DateBox(page);
        (*edit)->setCalendarName(Texts::text(CalendarText));
        (*edit)->setAccessibleName(Texts::text(edit == &m_periodFirst ? PeriodStartText : PeriodEndText));
        (*edit)->setEnabled(false);
        connect(*edit, &DateBox::dateChanged, this, [this] { changed(ReportApplyState::Change::PeriodDates); });
        // Typing counts as a change at once, so Apply can be pressed straight from the box.
        connect(*edit, &DateBox::textEdited, this, [this] { changed(ReportApplyState::Change::PeriodDates); });
        dates->addWidget(*edit);
    }
    m_periodFirst->setObjectName(QStringLiteral("periodFirst"));
    m_periodLast->setObjectName(QStringLiteral("periodLast"));
    layout->addLayout(dates);
    connect(m_periodBox, &QCheckBox::toggled, this, &ReportWindow::periodToggled);
    layout->addWidget(separator(page));

    m_counterpartyBox = checkBox(CounterpartyText, "counterpartyBox", false, page);
    layout->addWidget(m_counterpartyBox);
    m_counterpartyCombo = new QComboBox(page);
    m_counterpartyCombo->setObjectName(QStringLiteral("counterpartyCombo"));
    m_counterpartyCombo->setEnabled(false);
    m_counterpartyCombo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_counterpartyCombo->setMinimumContentsLength(12);
    // The desktop names a combo box after the label it is the buddy of.
    auto *comboLabel = new QLabel(Texts::text(CounterpartyNameText), page);
    comboLabel->setObjectName(QStringLiteral("counterpartyLabel"));
    comboLabel->setBuddy(m_counterpartyCombo);
    comboLabel->setEnabled(false);
    auto *comboRow = new QHBoxLayout;
    comboRow->setContentsMargins(20, 0, 0, 0);
    comboRow->addWidget(comboLabel);
    comboRow->addWidget(m_counterpartyCombo, 1);
    layout->addLayout(comboRow);
    connect(m_counterpartyBox, &QCheckBox::toggled, this, &ReportWindow::counterpartyToggled);
    connect(m_counterpartyBox, &QCheckBox::toggled, comboLabel, &QLabel::setEnabled);
    connect(m_counterpartyCombo, &QComboBox::currentIndexChanged, this,
            [this] { changed(ReportApplyState::Change::Counterparty); });
    layout->addStretch(1);
    return page;
}

QWidget *ReportWindow::buildGroupingPage()
{
    auto *page = new QWidget;
    auto *layout = new QVBoxLayout(page);
    auto *groupingLabel = new QLabel(labelText(GroupingTab), page);
    m_groupingCombo = new QComboBox(page);
    m_groupingCombo->setObjectName(QStringLiteral("groupingCombo"));
    for (int item = 0; item < GroupingCount; ++item)
        m_groupingCombo->addItem(Texts::text(FirstGroupingItem + item));
    groupingLabel->setBuddy(m_groupingCombo);

    m_dateModeLabel = new QLabel(Texts::text(DateModeText), page);
    m_dateModeLabel->setObjectName(QStringLiteral("dateModeLabel"));
    m_dateModeCombo = new QComboBox(page);
    m_dateModeCombo->setObjectName(QStringLiteral("dateModeCombo"));
    m_dateModeLabel->setBuddy(m_dateModeCombo);

    layout->addWidget(groupingLabel);
    layout->addWidget(m_groupingCombo);
    layout->addSpacing(8);
    layout->addWidget(m_dateModeLabel);
    layout->addWidget(m_dateModeCombo);
    layout->addStretch(1);

    connect(m_groupingCombo, &QComboBox::currentIndexChanged, this, &ReportWindow::groupingChosen);
    connect(m_dateModeCombo, &QComboBox::currentIndexChanged, this,
            [this] { changed(ReportApplyState::Change::DateMode); });
    return page;
}

QWidget *ReportWindow::buildPreferencesPage()
{
    auto *page = new QWidget;
    auto *layout = new QVBoxLayout(page);
    m_totalsBox = checkBox(ShowTotalsText, "totalsBox", true, page);
    m_repeatHeadersBox = checkBox(RepeatHeadersText, "repeatHeadersBox", false, page);
    connect(m_totalsBox, &QCheckBox::toggled, this, [this] { changed(ReportApplyState::Change::Totals); });
    connect(m_repeatHeadersBox, &QCheckBox::toggled, this,
            [this] { changed(ReportApplyState::Change::RepeatHeaders); });
    layout->addWidget(m_totalsBox);
    layout->addWidget(m_repeatHeadersBox);
    layout->addStretch(1);
    return page;
}

void ReportWindow::loadPeriodBounds()
{
    // The pickers span every deadline of every sheet; when there is none, or the
    // file cannot be read, they keep their own dates.
    ReportStore::PeriodBounds bounds;
    try {
        bounds = ReportStore(m_session.connectionString()).periodBounds();
    } catch (const DbError &) {
    }
    if (bounds.first.isValid())
        m_periodFirst->setDate(bounds.first);
    if (bounds.last.isValid())
        m_periodLast->setDate(bounds.last);
}

bool ReportWindow::isApplyEnabled() const
{
    return m_applyState.isApplyEnabled();
}

void ReportWindow::changed(ReportApplyState::Change change)
{
    m_applyState.changed(change);
    m_applyButton->setEnabled(m_applyState.isApplyEnabled());
}

void ReportWindow::stateClicked(int box, bool checked)
{
    if (!m_applyState.isReady())
        return;
    const bool shown = m_filter.setStateChecked(ReportFilter::StateBox(box), checked);
    m_stateBoxes[box]->setChecked(shown);
    changed(ReportApplyState::Change::StateBox);
}

void ReportWindow::typeClicked(int box, bool checked)
{
    if (!m_applyState.isReady())
        return;
    const bool shown = m_filter.setTypeChecked(ReportFilter::TypeBox(box), checked);
    m_typeBoxes[box]->setChecked(shown);
    changed(ReportApplyState::Change::TypeBox);
}

void ReportWindow::periodToggled(bool on)
{
    m_periodFirst->setEnabled(on);
    m_periodLast->setEnabled(on);
    changed(ReportApplyState::Change::PeriodBox);
}

void ReportWindow::counterpartyToggled(bool on)
{
    {
        const QSignalBlocker quiet(m_counterpartyCombo);
        m_counterpartyCombo->clear();
        if (on) {
            std::vector<Counterparty> counterparties;
            DbErrorPrompt::run(m_session.connectionString(), [&] {
                counterparties = CounterpartyStore(m_session.connectionString()).list();
            });
            for (const Counterparty &c : counterparties)
                m_counterpartyCombo->addItem(c.name, c.id);
            m_counterpartyCombo->setCurrentIndex(m_counterpartyCombo->count() > 0 ? 0 : -1);
        }
    }
    m_counterpartyCombo->setEnabled(on);
    changed(ReportApplyState::Change::CounterpartyBox);
}

void ReportWindow::groupingChosen(int index)
{
    const auto grouping = ReportFilter::Grouping(std::clamp(index, 0, GroupingCount - 1));
    m_filter.setGrouping(grouping);
    {
        const QSignalBlocker quiet(m_dateModeCombo);
        if (m_filter.isDateModeEnabled()) {
            if (m_dateModeCombo->count() == 0) {
                for (int item = 0; item < DateModeCount; ++item)
                    m_dateModeCombo->addItem(Texts::text(FirstDateModeItem + item));
            }
            m_dateModeCombo->setCurrentIndex(0);
        } else {
            m_dateModeCombo->clear();
        }
    }
    m_dateModeCombo->setEnabled(m_filter.isDateModeEnabled());
    m_dateModeLabel->setEnabled(m_filter.isDateModeEnabled());
    changed(ReportApplyState::Change::Grouping);
}

void ReportWindow::readControls()
{
    m_filter.setPeriodEnabled(m_periodBox->isChecked());
    m_filter.setPeriod(m_periodFirst->date(), m_periodLast->date());
    const bool counterparty = m_counterpartyBox->isChecked() && m_counterpartyCombo->currentIndex() >= 0;
    m_filter.setCounterpartyEnabled(counterparty);
    m_filter.setCounterparty(counterparty ? m_counterpartyCombo->currentData().toInt() : 0,
                             counterparty ? m_counterpartyCombo->currentText() : QString());
    m_filter.setDateMode(ReportFilter::DateMode(std::max(0, m_dateModeCombo->currentIndex())));
    m_filter.setShowTotals(m_totalsBox->isChecked());
    m_filter.setRepeatHeaders(m_repeatHeadersBox->isChecked());
}

void ReportWindow::apply()
{
    if (m_content == Content::Aging) {
        applyAging();
        return;
    }
    // The period is what the boxes show, however the typing ended.
    if (m_periodBox->isChecked() && (!m_periodFirst->holdsDate() || !m_periodLast->holdsDate()))
        return;
    readControls();
    const ReportSelection selection = reportSelection(m_filter, m_session.activeSheetId());
    QList<ReportDeadline> deadlines;
    if (!DbErrorPrompt::run(m_session.connectionString(),
                            [&] { deadlines = ReportStore(m_session.connectionString()).deadlines(selection); }))
        return;

    ReportSettings settings;
    settings.sheetName = m_session.activeSheetName();
    settings.today = Clock::today();
    settings.warningHorizon = m_session.warnLimitDate();
    settings.showCounters = m_session.display().showGroupCounters;
    fillDeadlineReport(m_document, deadlines, m_filter, m_texts, settings);
    m_description = m_document.footerText();
    m_printer.setDocName(reportDocumentTitle(settings.sheetName, m_description));

    m_applyState.applied();
    m_applyButton->setEnabled(false);
    // A preview not shown yet paints its pages when it first shows.
    if (m_preview->isVisible())
        m_preview->updatePages();
}

void ReportWindow::applyAging()
{
    std::vector<OpenAmount> amounts;
    const QString connectionString = m_session.connectionString();
    if (!DbErrorPrompt::run(connectionString,
                            [&] { amounts = AgingStore(connectionString).openAmounts(m_session.activeSheetId()); }))
        return;
    const Aging aging = computeAging(amounts, Clock::today());
    fillAgingReport(m_document, aging, m_session.activeSheetName(), m_texts);
    m_description = Texts::text(AgingText::Title);
    m_printer.setDocName(reportDocumentTitle(m_session.activeSheetName(), m_description));
    m_applyState.applied();
    if (m_preview->isVisible())
        m_preview->updatePages();
}

bool ReportWindow::saveAsPdf()
{
    const QString file = askSaveTarget(Texts::text(SavePdfCaption), Texts::text(PdfFilter), QStringLiteral("pdf"),
                                       m_session.activeSheetName() + QStringLiteral(".pdf"));
    if (file.isEmpty())
        return false;
    const QString title = reportDocumentTitle(m_session.activeSheetName(), m_description);
    QString reason;
    if (!ReportPrinter(m_document).savePdf(file, m_printer.pageLayout(), title, &reason)) {
        // The path with the system's reason, as the exports of the list say it.
        reportError(Texts::text(PdfNotWritten) + QStringLiteral("\n\n") + reason);
        return false;
    }
    return true;
}
