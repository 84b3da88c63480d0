#include "about/SplashScreen.h"

#include "startup/Session.h"
#include "startup/Texts.h"

#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>

SplashScreen::SplashScreen(QWidget *parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("splashScreen"));
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(0x1f, 0x4e, 0x79));
    pal.setColor(QPalette::WindowText, Qt::white);
    setPalette(pal);

    auto *title = new QLabel(Session::AppTitle.toUpper(), this);
    QFont big = title->font();
    big.setPointSize(big.pointSize() * 3);
    big.setBold(true);
    title->setFont(big);
    title->setAlignment(Qt::AlignCenter);

    auto *version = new QLabel(Texts::text(1355) + QStringLiteral(" ") + QStringLiteral(ORVEL_VERSION), this);
    version->setAlignment(Qt::AlignCenter);
    auto *loading = new QLabel(Texts::text(1353), this);
    loading->setAlignment(Qt::AlignCenter);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(40, 30, 40, 30);
    layout->addWidget(title);
    layout->addWidget(version);
    layout->addSpacing(12);
    layout->addWidget(loading);
    setFixedSize(sizeHint().expandedTo(QSize(380, 200)));
    if (const QScreen *screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
}
