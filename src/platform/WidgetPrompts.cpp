#include "platform/WidgetPrompts.h"

#include "startup/Texts.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

namespace {

QWidget *dialogParent()
{
    return QApplication::activeWindow();
}

QMessageBox::Icon boxIcon(Prompt::Icon icon)
{
    switch (icon) {
    case Prompt::Icon::Information: return QMessageBox::Information;
    case Prompt::Icon::Warning: return QMessageBox::Warning;
    case Prompt::Icon::Critical: return QMessageBox::Critical;
    case Prompt::Icon::Question: return QMessageBox::Question;
    case Prompt::Icon::None: break;
    }
    return QMessageBox::NoIcon;
}

// "Text file (*.txt)|*.txt|All (*.*)|*.*" -> "Text file (*.txt);;All (*.*)"
QString qtFileFilter(const QString &pipeFilter)
{
    const QStringList parts = pipeFilter.split(u'|');
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2)
        filters << parts.at(i);
    if (filters.isEmpty())
        return pipeFilter;
    return filters.join(QStringLiteral(";;"));
}

constexpr int QuitText = 2002;   // "Quit"

} // namespace

Prompt::Answer WidgetPrompts::message(const QString &text, const QString &caption, Prompt::Icon icon,
                                      Prompt::Buttons buttons)
{
    QMessageBox box(boxIcon(icon), caption, text, QMessageBox::NoButton, dialogParent());
    switch (buttons) {
    case Prompt::Buttons::Ok:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case Prompt::Buttons::OkCancel:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        break;
    case Prompt::Buttons::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        break;
    case Prompt::Buttons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    case Prompt::Buttons::RetryCancel:
        box.setStandardButtons(QMessageBox::Retry | QMessageBox::Cancel);
        break;
    case Prompt::Buttons::RetryQuit: {
        box.setStandardButtons(QMessageBox::Retry);
        QPushButton *quit = box.addButton(Texts::text(QuitText), QMessageBox::RejectRole);
        box.setEscapeButton(quit);
        box.exec();
        return box.clickedButton() == box.button(QMessageBox::Retry) ? Prompt::Answer::Retry : Prompt::Answer::Cancel;
    }
    }
    switch (box.exec()) {
    case QMessageBox::Yes: return Prompt::Answer::Yes;
    case QMessageBox::No: return Prompt::Answer::No;
    case QMessageBox::Cancel: return Prompt::Answer::Cancel;
    case QMessageBox::Retry: return Prompt::Answer::Retry;
    default: return Prompt::Answer::Ok;
    }
}

QString WidgetPrompts::input(const QString &prompt, const QString &caption, const QString &initial)
{
    bool ok = false;
    const QString text = QInputDialog::getText(dialogParent(), caption, prompt, QLineEdit::Normal, initial, &ok);
    return ok ? text : QString();
}

QString WidgetPrompts::chooseFolder(const QString &title)
{
    QString folder = QFileDialog::getExistingDirectory(dialogParent(), title, QDir::homePath());
    if (folder.isEmpty())
        return {};
    folder = QDir::toNativeSeparators(folder);
    // A root comes back as "/" or "C:\"; the rest of the program appends its own separator.
    while (folder.size() > 1 && (folder.endsWith(u'/') || folder.endsWith(u'\\')))
        folder.chop(1);
    return folder;
}

QString WidgetPrompts::saveFile(const QString &caption, const QString &filter, const QString &suggested)
{
    return QFileDialog::getSaveFileName(dialogParent(), caption, suggested, qtFileFilter(filter));
}

void removeCloseCommand(QWidget *window)
{
    // The title bar alone: a system menu or a help button would let window
    // managers offer Close again.
    const Qt::WindowFlags type = window->windowFlags() & Qt::WindowType_Mask;
    window->setWindowFlags(type | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
}
