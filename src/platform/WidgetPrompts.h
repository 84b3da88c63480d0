#pragma once

#include "platform/Prompts.h"

class QWidget;

// The real dialogs behind the prompts layer, parented to the active window.
class WidgetPrompts final : public Prompt::Prompts
{
public:
    Prompt::Answer message(const QString &text, const QString &caption, Prompt::Icon icon,
                           Prompt::Buttons buttons, Prompt::Default defaultButton) override;
    QString input(const QString &prompt, const QString &caption, const QString &initial) override;
    QString chooseFolder(const QString &title) override;
    QString saveFile(const QString &caption, const QString &filter, const QString &suggested) override;
};

// Takes the Close button off a dialog's title bar, so it closes only through its
// own buttons or Esc.
void removeCloseCommand(QWidget *window);
