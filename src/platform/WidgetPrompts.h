#pragma once

#include "platform/Prompts.h"

#include <QString>

class QWidget;

// The real dialogs behind the prompts layer, parented to the active window.
class WidgetPrompts final : public Prompt::Prompts
{
public:
    // Captions of the buttons Qt has no standard text for, in the user's language;
    // the caller takes them from the program's texts.
    struct Captions
    {
        QString quit;           // RetryQuit and RetryChooseQuit, answered as Cancel
        QString chooseFolder;   // RetryChooseQuit, answered as Choose
        QString chooseAny;      // RetryChooseAnyQuit, answered as Choose
    };
    explicit WidgetPrompts(Captions captions);

    Prompt::Answer message(const QString &text, const QString &caption, Prompt::Icon icon,
                           Prompt::Buttons buttons, Prompt::Default defaultButton) override;
    QString input(const QString &prompt, const QString &caption, const QString &initial) override;
    QString chooseFolder(const QString &title) override;
    QString saveFile(const QString &caption, const QString &filter, const QString &suggested) override;
    QString openFile(const QString &caption, const QString &filter) override;
    int choice(const QString &text, const QString &caption, const QStringList &options) override;

private:
    Captions m_captions;
};

// Takes the Close button off a dialog's title bar, so it closes only through its
// own buttons or Esc.
void removeCloseCommand(QWidget *window);
