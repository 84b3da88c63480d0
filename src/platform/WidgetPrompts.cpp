#include "platform/WidgetPrompts.h"

#include <algorithm>
#include <utility>

#include <QAbstractButton>
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

} // namespace

WidgetPrompts::WidgetPrompts(Captions captions)
    : m_captions(std::move(captions))
{
}

Prompt::Answer WidgetPrompts::message(const QString &text, const QString &caption, Prompt::Icon icon,
                                      Prompt::Buttons buttons, Prompt::Default defaultButton)
{
    using Prompt::Answer;
    QMessageBox box(boxIcon(icon), caption, text, QMessageBox::NoButton, dialogParent());
    // Each button with the answer it gives, the first one first.
    QList<std::pair<QAbstractButton *, Answer>> answers;
    auto standard = [&](QMessageBox::StandardButton button, Answer answer) {
        answers.append({box.addButton(button), answer});
    };
    auto named = [&](const QString &caption, QMessageBox::ButtonRole role, Answer answer) {
        answers.append({box.addButton(caption, role), answer});
    };
    switch (buttons) {
    case Prompt::Buttons::Ok:
        standard(QMessageBox::Ok, Answer::Ok);
        break;
    case Prompt::Buttons::OkCancel:
        standard(QMessageBox::Ok, Answer::Ok);
        standard(QMessageBox::Cancel, Answer::Cancel);
        break;
    case Prompt::Buttons::YesNo:
        standard(QMessageBox::Yes, Answer::Yes);
        standard(QMessageBox::No, Answer::No);
        break;
    case Prompt::Buttons::YesNoCancel:
        standard(QMessageBox::Yes, Answer::Yes);
        standard(QMessageBox::No, Answer::No);
        standard(QMessageBox::Cancel, Answer::Cancel);
        break;
    case Prompt::Buttons::RetryCancel:
        standard(QMessageBox::Retry, Answer::Retry);
        standard(QMessageBox::Cancel, Answer::Cancel);
        break;
    case Prompt::Buttons::RetryQuit:
        standard(QMessageBox::Retry, Answer::Retry);
        named(m_captions.quit, QMessageBox::RejectRole, Answer::Cancel);
        break;
    case Prompt::Buttons::RetryChooseQuit:
    case Prompt::Buttons::RetryChooseAnyQuit:
        standard(QMessageBox::Retry, Answer::Retry);
        named(buttons == Prompt::Buttons::RetryChooseQuit ? m_captions.chooseFolder : m_captions.chooseAny,
              QMessageBox::ActionRole, Answer::Choose);
        named(m_captions.quit, QMessageBox::RejectRole, Answer::Cancel);
        break;
    }
    const Answer safe = Prompt::safeAnswer(buttons);
    const bool hasCancel = std::any_of(answers.cbegin(), answers.cend(),
                                       [](const auto &entry) { return entry.second == Answer::Cancel; });
    for (const auto &[button, answer] : answers) {
        if (answer == (hasCancel ? Answer::Cancel : safe))
            box.setEscapeButton(button);
        if (defaultButton == Prompt::Default::Safe ? answer == safe : button == answers.first().first)
            box.setDefaultButton(qobject_cast<QPushButton *>(button));
    }
    box.exec();
    for (const auto &[button, answer] : answers) {
        if (box.clickedButton() == button)
            return answer;
    }
    return safe;
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
    // The caller asks before replacing, about the name with its extension added,
    // which the dialog never sees; asked here too, the user would answer twice.
    return QFileDialog::getSaveFileName(dialogParent(), caption, suggested, qtFileFilter(filter), nullptr,
                                        QFileDialog::DontConfirmOverwrite);
}

QString WidgetPrompts::openFile(const QString &caption, const QString &filter)
{
    return QFileDialog::getOpenFileName(dialogParent(), caption, QString(), qtFileFilter(filter));
}

int WidgetPrompts::choice(const QString &text, const QString &caption, const QStringList &options)
{
    QMessageBox box(QMessageBox::Question, caption, text, QMessageBox::NoButton, dialogParent());
    QList<QAbstractButton *> buttons;
    for (const QString &option : options)
        buttons.append(box.addButton(option, QMessageBox::AcceptRole));
    box.setEscapeButton(box.addButton(QMessageBox::Cancel));
    if (!buttons.isEmpty())
        box.setDefaultButton(qobject_cast<QPushButton *>(buttons.first()));
    box.exec();
    return int(buttons.indexOf(box.clickedButton()));
}

void removeCloseCommand(QWidget *window)
{
    // The title bar alone: a system menu or a help button would let window
    // managers offer Close again.
    const Qt::WindowFlags type = window->windowFlags() & Qt::WindowType_Mask;
    window->setWindowFlags(type | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
}
