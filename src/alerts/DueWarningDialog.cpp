#include "alerts/DueWarningDialog.h"

#include "alerts/WarningSentence.h"
#include "platform/Clock.h"
#include "startup/Session.h"
#include "startup/Texts.h"
#include "store/DbError.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>
#include <QWindow>

DueWarningDialog::DueWarningDialog(const DueDeadlines::Found &found, int warnDays, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName(QStringLiteral("dueWarningDialog"));
    setWindowTitle(Session::AppTitle);
    setWindowModality(Qt::WindowModal);
    // The warning opens as the main window appears, and the window manager may
    // place or resize that window only afterwards: the warning follows it.
    if (parent)
        parent->window()->installEventFilter(this);

    auto *picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("warningPicture"));
    picture->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxWarning, nullptr, this).pixmap(48, 48));
    picture->setAlignment(Qt::AlignTop);

    auto *heading = new QLabel(Texts::text(1218), this);   // "Warning!"
    heading->setObjectName(QStringLiteral("warningHeading"));
    QFont headingFont = heading->font();
    headingFont.setBold(true);
    headingFont.setPointSizeF(headingFont.pointSizeF() * 1.3);
    heading->setFont(headingFont);

    m_sentence = new QLabel(warningSentence(found, warnDays), this);
    m_sentence->setObjectName(QStringLiteral("warningSentence"));
    m_sentence->setWordWrap(true);
    m_sentence->setTextFormat(Qt::PlainText);
    m_sentence->setMinimumWidth(320);

    auto *continueButton = new QPushButton(Texts::text(1414) + QStringLiteral(" >"), this);   // "Continue >"
    continueButton->setObjectName(QStringLiteral("continueButton"));
    continueButton->setDefault(true);
    connect(continueButton, &QPushButton::clicked, this, &QDialog::accept);

    auto *texts = new QVBoxLayout;
    texts->addWidget(heading);
    texts->addWidget(m_sentence);
    texts->addStretch(1);
    auto *top = new QHBoxLayout;
    top->setSpacing(16);
    top->addWidget(picture, 0, Qt::AlignTop);
    top->addLayout(texts, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(continueButton);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(18, 18, 18, 14);
    layout->setSpacing(14);
    layout->addLayout(top, 1);
    layout->addLayout(buttons);
    setMinimumWidth(440);
}

void DueWarningDialog::showEvent(QShowEvent *event)
{
    centre();
    // The title bar is known only once the window is on screen.
    if (QWindow *shown = windowHandle())
        shown->installEventFilter(this);
    QDialog::showEvent(event);
}

bool DueWarningDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == windowHandle()) {
        if (event->type() == QEvent::Expose && isVisible() && frameGeometry().size() != m_centredFrameSize)
            centre();
        return QDialog::eventFilter(watched, event);
    }
    switch (event->type()) {
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::Show:
    case QEvent::WindowStateChange:
        if (isVisible() && watched == parentWidget()->window())
            centre();
        break;
    default:
        break;
    }
    return QDialog::eventFilter(watched, event);
}

void DueWarningDialog::centre()
{
    QWidget *owner = parentWidget() ? parentWidget()->window() : nullptr;
    QRect area;
    if (owner && owner->isVisible() && !owner->isMinimized())
        area = owner->frameGeometry();
    else if (QScreen *shownOn = owner ? owner->screen() : screen())
        area = shownOn->availableGeometry();
    if (area.isEmpty())
        return;
    m_centredFrameSize = frameGeometry().size();
    move(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, m_centredFrameSize, area).topLeft());
}

QString DueWarningDialog::sentence() const
{
    return m_sentence->text();
}

bool DueWarningDialog::showIfDue(const Session &session, QWidget *owner)
{
    const int warnDays = session.display().warnDays;
    const QDate today = Clock::today();
    DueDeadlines::Found found;
    try {
        if (!DueDeadlines::hasDueDeadlines(session.connectionString(), session.activeSheetId(), warnDays, today))
            return false;
        found = DueDeadlines::find(session.connectionString(), session.activeSheetId(), warnDays, today);
    } catch (const DbError &) {
        // The warning is a courtesy; the main window reports the database's state.
        return false;
    }
    if (found.kinds() == 0)
        return false;
    DueWarningDialog dialog(found, warnDays, owner);
    dialog.exec();
    return true;
}
