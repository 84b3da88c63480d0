#pragma once

#include <QHash>
#include <QObject>
#include <QSet>

#include <functional>

class QLineEdit;
class QStatusBar;
class QWidget;

// The keyboard and focus conduct the deadline windows share: Enter moves on as
// Tab does, Esc cancels, the focused control's tool tip goes to the status bar and
// a text box selects its text, typed characters of the amount and count fields
// pass through their key filters, and a field whose check fails keeps the focus
// without a word.
class DeadlineFormKeys final : public QObject
{
    Q_OBJECT
public:
    DeadlineFormKeys(QWidget *form, QStatusBar *statusBar, std::function<void()> moveNext,
                     std::function<void()> cancel);
    ~DeadlineFormKeys() override;

    void watch(QWidget *control);                 // Enter as Tab, Esc, status tip
    void setDecimalField(QLineEdit *field);
    void setDigitField(QLineEdit *field);
    void setCheck(QWidget *field, std::function<bool()> isValid);
    void setKey(QWidget *control, int key, std::function<void()> action);
    void setWithoutTip(QWidget *control);
    void setWithoutCheck(QWidget *control);       // moving here skips the checks (Cancel)

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void onFocusChanged(QWidget *old, QWidget *now);

    QWidget *m_form;
    QStatusBar *m_statusBar;
    std::function<void()> m_moveNext;
    std::function<void()> m_cancel;
    QSet<QObject *> m_decimalFields;
    QSet<QObject *> m_digitFields;
    QHash<QWidget *, std::function<bool()>> m_checks;
    QHash<QObject *, QHash<int, std::function<void()>>> m_keys;
    QSet<QWidget *> m_withoutTip;
    QSet<QWidget *> m_withoutCheck;
    bool m_restoring = false;
};
