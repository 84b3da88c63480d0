#include "startup/LanguageMenu.h"

#include "platform/Prompts.h"
#include "startup/Session.h"
#include "startup/Setting.h"
#include "startup/Texts.h"

bool LanguageMenu::choose(qint32 index, Session &session)
{
    if (index < 0 || index >= EntryCount || index == SeparatorIndex || index == session.languageChoice())
        return false;
    session.setLanguageChoice(index);
    session.settings().setInteger(Setting::LanguageChoice, index);
    // "Restart the application."
    Prompt::message(Texts::text(1362), Session::AppTitle, Prompt::Icon::None, Prompt::Buttons::Ok);
    return true;
}
