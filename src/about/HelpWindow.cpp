#include "about/HelpWindow.h"

#include "platform/DesktopUrls.h"
#include "platform/ScreenFit.h"
#include "startup/Session.h"

#include <QAction>
#include <QKeySequence>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

HelpWindow::HelpWindow(QWidget *parent)
    // A dialog, so that screen readers meet a window with a title; minimise and
    // maximise as any page viewer.
    : QDialog(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint
                          | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("helpWindow"));
    setWindowTitle(Session::AppTitle);
    setModal(false);
    // Esc closes it as any dialog; Ctrl+W and the desktop's key too.
    auto *closeAction = new QAction(this);
    QList<QKeySequence> keys = QKeySequence::keyBindings(QKeySequence::Close);
    // A key listed twice would make the shortcut ambiguous and do nothing.
    if (!keys.contains(QKeySequence(Qt::CTRL | Qt::Key_W)))
        keys.prepend(QKeySequence(Qt::CTRL | Qt::Key_W));
    closeAction->setShortcuts(keys);
    closeAction->setShortcutContext(Qt::WindowShortcut);
    connect(closeAction, &QAction::triggered, this, &QWidget::close);
    addAction(closeAction);
    m_browser = new QTextBrowser(this);
    m_browser->setObjectName(QStringLiteral("helpBrowser"));
    // Links inside the page stay here; links to the web still go to the desktop.
    m_browser->setOpenLinks(false);
    connect(m_browser, &QTextBrowser::anchorClicked, this, [this](const QUrl &link) {
        const QUrl url = m_browser->source().resolved(link);
        if (url.isLocalFile())
            m_browser->setSource(url);
        else
            DesktopUrls::open(url);
    });
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_browser);
    // Its designed size where the screen has room for it, frame and title included.
    resize(fitOnScreen(this, QSize(760, 640)));
}

void HelpWindow::showPage(const QString &file)
{
    m_browser->setSource(QUrl::fromLocalFile(file));
    setWindowTitle(m_browser->documentTitle().isEmpty() ? Session::AppTitle : m_browser->documentTitle());
    show();
    raise();
    activateWindow();
}
