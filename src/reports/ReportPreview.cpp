#include "reports/ReportPreview.h"

#include "startup/Texts.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPrintPreviewWidget>
#include <QStyle>
#include <QToolBar>

#include <algorithm>

namespace {

constexpr int CloseText = 1600;
constexpr int PageSetupText = 1602;
constexpr int PrintText = 1604;
constexpr int SavePdfText = 2800;
constexpr int ZoomText = 2804;
constexpr int PageNumberText = 2805;

} // namespace

ReportPreview::ReportPreview(QPrinter *printer, QWidget *parent)
    : QPrintPreviewDialog(printer, parent)
{
    // A panel inside its parent, not a window.
    setWindowFlags(Qt::Widget);
    setSizeGripEnabled(false);
    m_pages = findChild<QPrintPreviewWidget *>();
    m_toolBar = findChild<QToolBar *>();

    m_closeAction = new QAction(style()->standardIcon(QStyle::SP_DialogCloseButton), Texts::text(CloseText), this);
    m_closeAction->setObjectName(QStringLiteral("closeAction"));
    connect(m_closeAction, &QAction::triggered, this, &ReportPreview::closeRequested);
    m_savePdfAction = new QAction(style()->standardIcon(QStyle::SP_DialogSaveButton), Texts::text(SavePdfText), this);
    m_savePdfAction->setObjectName(QStringLiteral("savePdfAction"));
    connect(m_savePdfAction, &QAction::triggered, this, &ReportPreview::savePdfRequested);
    if (!m_toolBar)
        return;
    m_toolBar->setObjectName(QStringLiteral("previewToolBar"));
    m_toolBar->setMovable(false);
    if (layout())
        layout()->setContentsMargins(0, 0, 0, 0);

    // Qt's preview ends its toolbar with page setup and print, in that order;
    // they leave it for the window's row of buttons.
    QList<QAction *> actions = m_toolBar->actions();
    if (actions.size() >= 2) {
        m_pageSetupAction = actions[actions.size() - 2];
        m_printAction = actions.last();
        m_pageSetupAction->setText(Texts::text(PageSetupText));
        m_printAction->setText(Texts::text(PrintText));
        m_pageSetupAction->setObjectName(QStringLiteral("pageSetupAction"));
        m_printAction->setObjectName(QStringLiteral("printAction"));
        m_toolBar->removeAction(m_pageSetupAction);
        m_toolBar->removeAction(m_printAction);
    }

    // One page at a time is how a report is read, and the orientation is part
    // of the page setup: what is left fits beside the options on a small screen.
    // The two orientation commands are the only checkable ones without a name.
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
    actions = m_toolBar->actions();
    if (!actions.isEmpty() && actions.last()->isSeparator())
        m_toolBar->removeAction(actions.last());

    // A combo box is named on the desktop by the label it is the buddy of; the
    // page number is a plain field and carries its name itself.
    auto *zoomBox = m_toolBar->findChild<QComboBox *>();
    if (zoomBox) {
        zoomBox->setObjectName(QStringLiteral("zoomBox"));
        auto *zoomLabel = new QLabel(Texts::text(ZoomText), m_toolBar);
        zoomLabel->setObjectName(QStringLiteral("zoomLabel"));
        zoomLabel->setBuddy(zoomBox);
        zoomLabel->setContentsMargins(4, 0, 2, 0);
        for (QAction *action : m_toolBar->actions()) {
            if (m_toolBar->widgetForAction(action) == zoomBox) {
                m_toolBar->insertWidget(action, zoomLabel);
                break;
            }
        }
    }
    for (QLineEdit *edit : m_toolBar->findChildren<QLineEdit *>()) {
        if (!zoomBox || edit != zoomBox->lineEdit()) {
            edit->setObjectName(QStringLiteral("pageBox"));
            edit->setAccessibleName(Texts::text(PageNumberText));
            // As wide as Qt makes it once the pages are counted, so that the window's
            // first size is measured with the toolbar as it will be.
            const int digits = fontMetrics().horizontalAdvance(QStringLiteral("888"));
            edit->setMaximumWidth(edit->minimumSizeHint().width() + digits);
            break;
        }
    }
}

QSize ReportPreview::minimumSizeHint() const
{
    // Never narrower than the toolbar, so none of its commands hides behind the
    // toolbar's extension button.
    QSize least = QPrintPreviewDialog::minimumSizeHint();
    if (m_toolBar)
        least.setWidth(std::max(least.width(), m_toolBar->sizeHint().width()));
    return least;
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
