#include "deadlines/DeadlineFormKeys.h"

#include "platform/KeyFilters.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>

DeadlineFormKeys::DeadlineFormKeys(QWidget *form, QStatusBar *statusBar, std::function<void()> moveNext,
                                   std::function<void()> cancel)
    : QObject(form)
    , m_form(form)
    , m_statusBar(statusBar)
    , m_moveNext(std::move(moveNext))
    , m_cancel(std::move(cancel))
{
    connect(qApp, &QApplication::focusChanged, this, &DeadlineFormKeys::onFocusChanged);
}

DeadlineFormKeys::~DeadlineFormKeys() = default;

void DeadlineFormKeys::watch(QWidget *control)
{
    control->installEventFilter(this);
}

void DeadlineFormKeys::setDecimalField(QLineEdit *field)
{
    m_decimalFields.insert(field);
    watch(field);
}

void DeadlineFormKeys::setDigitField(QLineEdit *field)
{
    m_digitFields.insert(field);
    watch(field);
}

void DeadlineFormKeys::setCheck(QWidget *field, std::function<bool()> isValid)
{
    m_checks.insert(field, std::move(isValid));
}

void DeadlineFormKeys::setKey(QWidget *control, int key, std::function<void()> action)
{
    m_keys[control].insert(key, std::move(action));
    watch(control);
}

void DeadlineFormKeys::setWithoutTip(QWidget *control)
{
    m_withoutTip.insert(control);
}

void DeadlineFormKeys::setWithoutCheck(QWidget *control)
{
    m_withoutCheck.insert(control);
}

bool DeadlineFormKeys::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    auto *key = static_cast<QKeyEvent *>(event);

    const auto own = m_keys.constFind(watched);
    if (own != m_keys.constEnd() && own->contains(key->key()) && key->modifiers() == Qt::NoModifier) {
        own->value(key->key())();
        return true;
    }
    switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // A focused Save or Cancel button takes Enter as its own click.
        if (qobject_cast<QPushButton *>(watched))
            return QObject::eventFilter(watched, event);
        m_moveNext();
        return true;
    case Qt::Key_Escape:
        m_cancel();
        return true;
    default:
        break;
    }

    const bool decimal = m_decimalFields.contains(watched);
    const bool digit = m_digitFields.contains(watched);
    const QString text = key->text();
    // Shortcuts (copy, paste, select all) and keys without a character (arrows,
    // Delete) keep their own meaning; only typed characters are filtered.
    if ((!decimal && !digit) || text.size() != 1 || (key->modifiers() & Qt::ControlModifier))
        return QObject::eventFilter(watched, event);
    const QChar typed = text.at(0);
    if (typed == u'\b' || typed == u'\t')
        return QObject::eventFilter(watched, event);
    const QChar passed = decimal ? filterDecimalKey(typed) : filterDigitKey(typed);
    if (passed.isNull())
        return true;
    if (passed != typed) {
        static_cast<QLineEdit *>(watched)->insert(QString(passed));
        return true;
    }
    return QObject::eventFilter(watched, event);
}

void DeadlineFormKeys::onFocusChanged(QWidget *old, QWidget *now)
{
    if (m_restoring || !now || !m_form->isAncestorOf(now))
        return;
    const auto check = m_checks.constFind(old);
    if (check != m_checks.constEnd() && !m_withoutCheck.contains(now) && old->isEnabled() && !(*check)()) {
        m_restoring = true;
        old->setFocus(Qt::OtherFocusReason);
        m_restoring = false;
        return;
    }
    if (!m_withoutTip.contains(now))
        m_statusBar->showMessage(now->toolTip());
    if (auto *line = qobject_cast<QLineEdit *>(now))
        line->selectAll();
    else if (auto *box = qobject_cast<QPlainTextEdit *>(now))
        box->selectAll();
}
