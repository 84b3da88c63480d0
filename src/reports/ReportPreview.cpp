#include "reports/ReportPreview.h"

#include "startup/Texts.h"

#include <QAction>
#include <QPrintPreviewWidget>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>

namespace {

constexpr int CloseText = 1600;
constexpr int PageSetupText = 1602;
constexpr int PrintText = 1604;
constexpr int SavePdfText = 2601;

// A command that shows its words beside its picture.
void showText(QToolBar *toolBar, QAction *action)
{
    if (auto *button = qobject_cast<QToolButton *>(toolBar->widgetForAction(action)))
        button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
}

} // namespace

ReportPreview::ReportPreview(QPrinter *printer, QWidget *parent)
    : QPrintPreviewDialog(printer, parent)
{
    // A panel inside its parent, not a window.
    setWindowFlags(Qt::Widget);
    setSizeGripEnabled(false);
    m_pages = findChild<QPrintPreviewWidget *>();
    m_toolBar = findChild<QToolBar *>();
    if (!m_toolBar)
        return;
    m_toolBar->setObjectName(QStringLiteral("previewToolBar"));

    // One page at a time is how a report is read, and the orientation is part
    // of the page setup; the room those commands would take goes to the words
    // of Close, Page setup, Print and Save as PDF. The two orientation commands
    // are the only checkable ones without a name.
    for (QAction *action : m_toolBar->actions()) {
        const QString name = action->objectName();
        if (name == QLatin1String("singleModeAction") || name == QLatin1String("facingModeAction")
            || name == QLatin1String("overviewModeAction") || (action->isCheckable() && name.isEmpty()))
            m_toolBar->removeAction(action);
    }
    bool afterSeparator = true;
    for (QAction *action : m_toolBar->actions()) {
        if (action->isSeparator() && afterSeparator)
            m_toolBar->removeAction(action);
        afterSeparator = action->isSeparator();
    }

    // Qt's preview ends its toolbar with page setup and print, in that order.
    const QList<QAction *> actions = m_toolBar->actions();
    if (actions.size() >= 2) {
        m_pageSetupAction = actions[actions.size() - 2];
        m_printAction = actions.last();
        m_pageSetupAction->setText(Texts::text(PageSetupText));
        m_printAction->setText(Texts::text(PrintText));
        m_pageSetupAction->setObjectName(QStringLiteral("pageSetupAction"));
        m_printAction->setObjectName(QStringLiteral("printAction"));
        showText(m_toolBar, m_pageSetupAction);
        showText(m_toolBar, m_printAction);
    }

    m_closeAction = new QAction(style()->standardIcon(QStyle::SP_DialogCloseButton), Texts::text(CloseText), this);
    m_closeAction->setObjectName(QStringLiteral("closeAction"));
    m_toolBar->insertAction(actions.value(0), m_closeAction);
    m_toolBar->insertSeparator(actions.value(0));
    showText(m_toolBar, m_closeAction);
    connect(m_closeAction, &QAction::triggered, this, &ReportPreview::closeRequested);

    m_savePdfAction = new QAction(style()->standardIcon(QStyle::SP_DialogSaveButton), Texts::text(SavePdfText), this);
    m_savePdfAction->setObjectName(QStringLiteral("savePdfAction"));
    m_toolBar->addAction(m_savePdfAction);
    showText(m_toolBar, m_savePdfAction);
    connect(m_savePdfAction, &QAction::triggered, this, &ReportPreview::savePdfRequested);
}

void ReportPreview::updatePages()
{
    if (m_pages)
        m_pages->updatePreview();
}

int ReportPreview::pageCount() const
{
    return m_pages ? m_pages->pageCount() : 0;
}

void ReportPreview::done(int result)
{
    // Esc asks the report window to close; a finished print leaves the preview
    // where it is.
    setResult(result);
    if (result == QDialog::Rejected)
        emit closeRequested();
}
