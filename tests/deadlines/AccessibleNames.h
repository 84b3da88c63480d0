#pragma once

#include <QAbstractButton>
#include <QAccessible>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QStringList>
#include <QWidget>

// What a screen reader misses in a window, read through the accessibility
// interfaces it uses, not through the window's own members: "name: unnamed" for
// a button or box without an accessible name, "name: unlabelled" for a box that
// no label names (no Label relation). The parts Qt builds inside a control are
// left out.
inline QStringList unspokenControls(QWidget *form)
{
    QStringList out;
    for (QWidget *w : form->findChildren<QWidget *>()) {
        const bool box = qobject_cast<QLineEdit *>(w) || qobject_cast<QComboBox *>(w) || qobject_cast<QPlainTextEdit *>(w);
        if ((!box && !qobject_cast<QAbstractButton *>(w)) || w->objectName().isEmpty()
            || w->objectName().startsWith(QLatin1String("qt_")))
            continue;
        QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(w);
        if (!iface || iface->text(QAccessible::Name).trimmed().isEmpty())
            out << w->objectName() + QStringLiteral(": unnamed");
        if (box && (!iface || iface->relations(QAccessible::Label).isEmpty()))
            out << w->objectName() + QStringLiteral(": unlabelled");
    }
    return out;
}
