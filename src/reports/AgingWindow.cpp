#include "reports/AgingWindow.h"

#include "export/AgingExport.h"
#include "export/SafeFileWriter.h"
#include "export/SaveTarget.h"
#include "export/TextExport.h"
#include "platform/Clock.h"
#include "platform/Prompts.h"
#include "platform/ScreenFit.h"
#include "reports/AgingReport.h"
#include "reports/ReportAssembly.h"
#include "reports/ReportWindow.h"
#include "startup/DbErrorPrompt.h"
#include "startup/Session.h"
#include "startup/Texts.h"
#include "store/AgingStore.h"
#include "store/Register.h"

#include <QFont>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeySequence>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

constexpr int TextFileFilter = 1364;     // "Text file (*.txt)|*.txt"
constexpr int CloseText = 1600;           // "&Close"
constexpr int NotWrittenText = 2500;      // "The file could not be written:"
constexpr QSize DesignedSize(980, 640);

QTableWidget *newTable(const QStringList &captions, const QString &name, QWidget *parent)
{
    auto *table = new QTableWidget(0, int(captions.size()), parent);
    table->setObjectName(name);
    table->setHorizontalHeaderLabels(captions);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setTabKeyNavigation(false);
    table->verticalHeader()->hide();
    // Lines as tight as the list's, so a screen holds many clients.
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 6);
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table->horizontalHeader()->setSectionResizeMode(AgingNameColumn, QHeaderView::Stretch);
    return table;
}

} // namespace

AgingWindow::AgingWindow(Session &session, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_session(session)
    , m_texts(programReportTexts())
{
    setObjectName(QStringLiteral("agingWindow"));
    setWindowTitle(Texts::text(AgingText::Title));

    auto *layout = new QVBoxLayout(this);
    m_asOfLabel = new QLabel(this);
    m_asOfLabel->setObjectName(QStringLiteral("asOfLabel"));
    layout->addWidget(m_asOfLabel);
    const QStringList captions = agingColumnCaptions(m_texts);
    const int captionIds[] = {AgingText::Credits, AgingText::Debits};
    const char *names[] = {"creditsTable", "debitsTable"};
    for (int which = 0; which < 2; ++which) {
        auto *label = new QLabel(Texts::text(captionIds[which]), this);
        QFont bold = label->font();
        bold.setBold(true);
        label->setFont(bold);
        m_tables[which] = newTable(captions, QLatin1String(names[which]), this);
        m_tables[which]->setAccessibleName(label->text());
        m_tables[which]->setToolTip(Texts::text(AgingText::Hint));
        label->setBuddy(m_tables[which]);
        connect(m_tables[which], &QAbstractItemView::activated, this,
                [this, which](const QModelIndex &index) { rowActivated(which, index.row()); });
        layout->addWidget(label);
        layout->addWidget(m_tables[which], 1);
    }

    auto *buttons = new QHBoxLayout;
    const auto button = [this, buttons](int textId, const char *name) {
        auto *b = new QPushButton(Texts::text(textId), this);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        buttons->addWidget(b);
        return b;
    };
    connect(button(AgingText::PrintButton, "printButton"), &QPushButton::clicked, this, &AgingWindow::print);
    connect(button(AgingText::ExportButton, "exportButton"), &QPushButton::clicked, this,
            &AgingWindow::exportToText);
    buttons->addStretch(1);
    connect(button(CloseText, "closeButton"), &QPushButton::clicked, this, &QWidget::close);
    layout->addLayout(buttons);
    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);
    resize(fitOnScreen(this, DesignedSize));

    // Whatever changes the open amounts or their names makes the tables stale;
    // a window in view reads again at once.
    Register &changes = m_session.deadlineRegister();
    const auto changed = [this] {
        m_stale = true;
        if (isVisible())
            reload();
    };
    connect(&changes, &Register::deadlinesChanged, this, [this, changed](qint32 sheetId) {
        if (sheetId == m_session.activeSheetId())
            changed();
    });
    connect(&changes, &Register::counterpartiesChanged, this, changed);
    connect(&changes, &Register::activeSheetChanged, this, changed);
}

AgingWindow::~AgingWindow() = default;

void AgingWindow::showAging()
{
    // "Today" may have moved on since the last look.
    m_stale = true;
    show();
    if (m_stale)
        reload();
    raise();
    activateWindow();
}

void AgingWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (m_stale)
        reload();
}

void AgingWindow::reload()
{
    std::vector<OpenAmount> amounts;
    const QString connectionString = m_session.connectionString();
    if (!DbErrorPrompt::run(connectionString,
                            [&] { amounts = AgingStore(connectionString).openAmounts(m_session.activeSheetId()); }))
        return;
    m_stale = false;
    m_aging = computeAging(amounts, Clock::today());
    m_asOfLabel->setText(m_session.activeSheetName() + QStringLiteral(" \u2013 ") + agingAsOfText(m_aging, m_texts));
    fillTable(0, m_aging.credits);
    fillTable(1, m_aging.debits);
}

void AgingWindow::fillTable(int which, const AgingTable &table)
{
    QTableWidget *grid = m_tables[which];
    grid->clearContents();
    grid->setRowCount(int(table.rows.size()) + 1);
    const auto put = [grid](int row, const QStringList &cells, bool bold) {
        for (int c = 0; c < cells.size(); ++c) {
            auto *item = new QTableWidgetItem(cells.at(c));
            const bool amount = c >= AgingFirstBucketColumn && c <= AgingTotalColumn;
            item->setTextAlignment(Qt::AlignVCenter | (amount ? Qt::AlignRight : Qt::AlignLeft));
            if (bold) {
                QFont font = item->font();
                font.setBold(true);
                item->setFont(font);
            }
            grid->setItem(row, c, item);
        }
    };
    for (int r = 0; r < table.rows.size(); ++r)
        put(r, agingRowCells(table.rows.at(r), m_texts), false);
    put(int(table.rows.size()), agingTotalsCells(table.totals, m_texts), true);
}

void AgingWindow::rowActivated(int which, int row)
{
    const AgingTable &table = which == 0 ? m_aging.credits : m_aging.debits;
    // The totals row names no one.
    if (row < 0 || row >= table.rows.size())
        return;
    const AgingRow &chosen = table.rows.at(row);
    emit counterpartyChosen(which == 0 ? 1 : -1, chosen.counterpartyId, chosen.name);
}

void AgingWindow::print()
{
    ReportWindow window(m_session, this, ReportWindow::Content::Aging);
    window.exec();
}

void AgingWindow::exportToText()
{
    // The text of the tables as they stand, made before the dialog.
    const QByteArray bytes = encodeExportText(agingExportText(m_aging, [](int id) { return Texts::text(id); }));
    const QString target = askSaveTarget(Session::AppTitle + QStringLiteral(" - ") + Texts::text(AgingText::ExportCaption),
                                         Texts::text(TextFileFilter), QStringLiteral("txt"));
    if (target.isEmpty())
        return;
    SafeFileWriter writer(target);
    if (!writer.write(bytes))
        Prompt::message(Texts::text(NotWrittenText) + QStringLiteral("\n\n") + writer.errorText(), Session::AppTitle,
                        Prompt::Icon::Critical);
}

AgingWindow *showAgingWindow(Session &session, QWidget *parent,
                             const std::function<void(int type, qint32 counterpartyId, const QString &name)> &chosen)
{
    auto *window = parent->findChild<AgingWindow *>(QString(), Qt::FindDirectChildrenOnly);
    if (!window) {
        window = new AgingWindow(session, parent);
        QObject::connect(window, &AgingWindow::counterpartyChosen, parent, chosen);
    }
    window->showAging();
    return window;
}
