#include "about/AboutDialog.h"

#include "platform/DesktopUrls.h"
#include "startup/Session.h"
#include "startup/Texts.h"

#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

namespace {

QLabel *linkLabel(QWidget *parent, const char *name, const QString &address, const QString &shown)
{
    auto *label = new QLabel(QStringLiteral("<a href=\"%1\">%2</a>").arg(address.toHtmlEscaped(), shown.toHtmlEscaped()),
                             parent);
    label->setObjectName(QLatin1String(name));
    label->setTextFormat(Qt::RichText);
    label->setTextInteractionFlags(Qt::TextBrowserInteraction);
    label->setOpenExternalLinks(false);
    QObject::connect(label, &QLabel::linkActivated, label, [](const QString &link) { DesktopUrls::open(QUrl(link)); });
    return label;
}

} // namespace

AboutDialog::AboutDialog(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("aboutDialog"));
    setWindowTitle(Session::AppTitle);
    setAttribute(Qt::WA_DeleteOnClose);

    auto *picture = new QLabel(this);
    picture->setPixmap(QIcon(QStringLiteral(":/icons/calendar.svg")).pixmap(64, 64));
    picture->setAlignment(Qt::AlignTop);

    auto *title = new QLabel(Session::AppTitle, this);
    title->setObjectName(QStringLiteral("aboutTitle"));
    QFont titleFont = title->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.6);
    title->setFont(titleFont);
    // The version comes from the build, so the box never tells an old number.
    auto *version = new QLabel(Texts::text(1355) + QLatin1Char(' ') + QStringLiteral(ORVEL_VERSION), this);
    version->setObjectName(QStringLiteral("aboutVersion"));
    auto *web = linkLabel(this, "aboutWeb", WebAddress, QStringLiteral("www.kestrum.it/orvel2"));
    auto *support = linkLabel(this, "aboutSupport", SupportAddress, QStringLiteral("support@kestrum.it"));

    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("okButton"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto *texts = new QVBoxLayout;
    texts->addWidget(title);
    texts->addWidget(version);
    texts->addSpacing(10);
    texts->addWidget(web);
    texts->addWidget(support);
    auto *top = new QHBoxLayout;
    top->setSpacing(18);
    top->addWidget(picture, 0, Qt::AlignTop);
    top->addLayout(texts, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 20, 20, 14);
    layout->addLayout(top);
    layout->addLayout(buttons);
    setMinimumWidth(360);
}
