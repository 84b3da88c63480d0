#pragma once

#include <QAbstractButton>
#include <QAccessible>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QStringList>
#include <QWidget>

// What a screen reader finds in a window, read through the accessibility
// interfaces it uses, not through the window's own members.
namespace AccessibleNames {

inline bool isBox(const QWidget *w)
{
    return qobject_cast<const QLineEdit *>(w) || qobject_cast<const QComboBox *>(w)
        || qobject_cast<const QPlainTextEdit *>(w);
}

// The controls (buttons and boxes) whose accessible name is empty.
inline QStringList unnamed(QWidget *form)
{
    QStringList out;
    for (QWidget *w : form->findChildren<QWidget *>()) {
        if (!isBox(w) && !qobject_cast<QAbstractButton *>(w))
            continue;
        if (w->objectName().startsWith(QLatin1String("qt_")) || !w->objectName().size())
            continue;   // the parts Qt builds inside a control
        QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(w);
        if (!iface || iface->text(QAccessible::Name).trimmed().isEmpty())
            out << w->objectName();
    }
    return out;
}

// The boxes that no label names (no Label relation).
inline QStringList unlabelled(QWidget *form)
{
    QStringList out;
    for (QWidget *w : form->findChildren<QWidget *>()) {
        if (!isBox(w) || w->objectName().isEmpty() || w->objectName().startsWith(QLatin1String("qt_")))
            continue;
        QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(w);
        if (!iface || iface->relations(QAccessible::Label).isEmpty())
            out << w->objectName();
    }
    return out;
}

} // namespace AccessibleNames
