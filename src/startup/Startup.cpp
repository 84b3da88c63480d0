#include "startup/Startup.h"

#include "about/frmSplash.h"
#include "mainwindow/frmMain.h"
#include "platform/Pauses.h"
#include "platform/WidgetPrompts.h"
#include "startup/OrvelApplication.h"
#include "startup/ResourceText.h"
#include "startup/StartupSteps.h"
#include "startup/mainmod.h"

#include <memory>

int Startup::Main(int argc, char *argv[])
{
    OrvelApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Kestrum"));
    QCoreApplication::setApplicationName(mainmod::AppTitle);
    QCoreApplication::setApplicationVersion(QStringLiteral(ORVEL_VERSION));

    SingleInstance instance;
    if (!instance.acquired())
        return 0;

    WidgetPrompts prompts;
    Prompt::install(&prompts);

    if (PrepareSession(LocaleLanguageCode(QLocale::system())) == SessionOutcome::Ended)
        return 0;
    QGuiApplication::setApplicationDisplayName(mainmod::AppTitle);

    auto splash = std::make_unique<frmSplash>();
    splash->show();
    QCoreApplication::processEvents();

    frmMain window;
    QCoreApplication::processEvents();
    PauseLong();
    splash.reset();

    window.show();
    QCoreApplication::processEvents();

    const int code = app.exec();
    Prompt::install(nullptr);
    return code;
}
