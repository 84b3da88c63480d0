#include "startup/DatabaseFolderChoice.h"

#include "platform/Prompts.h"
#include "startup/ServerRegisterDialog.h"
#include "startup/Session.h"
#include "startup/Setting.h"
#include "startup/Texts.h"

namespace {

constexpr int RestartText = 1362;   // "Restart the application."

void chooseFolder(SettingsStore &settings, int titleId, int confirmationId)
{
    const QString folder = Prompt::chooseFolder(Texts::text(titleId));
    if (folder.isEmpty())
        return;
    DatabaseFolderChoice::storeFolder(settings, folder);
    Prompt::message(Texts::text(confirmationId), Session::AppTitle, Prompt::Icon::None, Prompt::Buttons::Ok);
}

QString plainCaption(int id)
{
    QString caption = Texts::text(id);
    return caption.remove(u'&');
}

} // namespace

void DatabaseFolderChoice::storeFolder(SettingsStore &settings, const QString &folder)
{
    settings.setText(Setting::DatabaseFolder, folder);
    if (!settings.text(Setting::ServerRegister).isEmpty())
        settings.setText(Setting::ServerRegister, QString());
}

void DatabaseFolderChoice::askAfterFailedStart(SettingsStore &settings)
{
    // "Database folder not available ... Select another folder.", then "Folder selected. Start the program now."
    chooseFolder(settings, 1401, 1402);
}

void DatabaseFolderChoice::changeDatabase(SettingsStore &settings, QWidget *parent)
{
    // "A folder on this computer…" or "A shared register on a server…"
    const int way = Prompt::choice(Texts::text(2955), plainCaption(506), {plainCaption(2953), plainCaption(2954)});
    if (way == 0) {
        // "Change database", then "Restart the application."
        chooseFolder(settings, 506, RestartText);
    } else if (way == 1) {
        ServerRegisterDialog dialog(settings, parent);
        if (dialog.exec() == QDialog::Accepted)
            Prompt::message(Texts::text(RestartText), Session::AppTitle, Prompt::Icon::None, Prompt::Buttons::Ok);
    }
}
