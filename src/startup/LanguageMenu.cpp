#include "startup/LanguageMenu.h"

#include "platform/Prompts.h"
#include "startup/ResourceText.h"
#include "startup/Setting.h"
#include "startup/mainmod.h"

namespace LanguageMenu {

namespace {
constexpr int RestartTextId = 1362;
}

bool ChangesChoice(qint32 index, qint32 currentChoice)
{
    if (index < 0 || index >= EntryCount || index == SeparatorIndex)
        return false;
    return index != currentChoice;
}

bool Click(qint32 index)
{
    if (!ChangesChoice(index, mainmod::LanguageChoice))
        return false;
    mainmod::LanguageChoice = index;
    mainmod::Settings().setInteger(Setting::LanguageChoice, index);
    Prompt::message(ResourceText(RestartTextId), mainmod::AppTitle, Prompt::Icon::None, Prompt::Buttons::Ok);
    return true;
}

} // namespace LanguageMenu
