#include "about/HelpWindow.h"

#include "platform/DesktopUrls.h"
#include "startup/Session.h"

#include <QScreen>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

HelpWindow::HelpWindow(QWidget *parent)
    : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("helpWindow"));
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
    resize(QSize(760, 640).boundedTo(screen()->availableGeometry().size() - QSize(16, 48)));
}

void HelpWindow::showPage(const QString &file)
{
    m_browser->setSource(QUrl::fromLocalFile(file));
    setWindowTitle(m_browser->documentTitle().isEmpty() ? Session::AppTitle : m_browser->documentTitle());
    show();
    raise();
    activateWindow();
}
