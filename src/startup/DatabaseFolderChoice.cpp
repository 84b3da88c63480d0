#include "startup/DatabaseFolderChoice.h"

#include "platform/Prompts.h"
#include "startup/Session.h"
#include "startup/Setting.h"
#include "startup/Texts.h"

namespace {

void chooseFolder(SettingsStore &settings, int titleId, int confirmationId)
{
    const QString folder = Prompt::chooseFolder(Texts::text(titleId));
    if (folder.isEmpty())
        return;
    settings.setText(Setting::DatabaseFolder, folder);
    Prompt::message(Texts::text(confirmationId), Session::AppTitle, Prompt::Icon::None, Prompt::Buttons::Ok);
}

} // namespace

void DatabaseFolderChoice::askAfterFailedStart(SettingsStore &settings)
{
    // "Database folder not available ... Select another folder.", then "Folder selected. Start the program now."
    chooseFolder(settings, 1401, 1402);
}

void DatabaseFolderChoice::changeDatabase(SettingsStore &settings)
{
    // "Change database", then "Restart the application."
    chooseFolder(settings, 506, 1362);
}
