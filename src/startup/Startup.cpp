#include "startup/Startup.h"

#include "about/SplashScreen.h"
#include "mainwindow/MainWindow.h"
#include "platform/Pauses.h"
#include "platform/WidgetPrompts.h"
#include "startup/Language.h"
#include "startup/OrvelApplication.h"
#include "startup/Session.h"
#include "startup/SingleInstance.h"
#include "startup/StartupSteps.h"

#include <memory>

int Startup::run(int argc, char *argv[])
{
    OrvelApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Kestrum"));
    QCoreApplication::setApplicationName(Session::AppTitle);
    QCoreApplication::setApplicationVersion(QStringLiteral(ORVEL_VERSION));
    // Ties the windows to the installed menu entry (its icon, its name in the task switcher).
    QGuiApplication::setDesktopFileName(QStringLiteral("com.kestrum.Orvel2"));

    SingleInstance instance;
    if (!instance.acquired())
        return 0;

    WidgetPrompts prompts;
    Prompt::install(&prompts);

    Session session;
    if (prepareSession(session, localeLanguageCode(QLocale::system())) == SessionOutcome::Ended)
        return 0;
    QGuiApplication::setApplicationDisplayName(Session::AppTitle);

    auto splash = std::make_unique<SplashScreen>();
    splash->show();
    QCoreApplication::processEvents();

    MainWindow window(session);
    QCoreApplication::processEvents();
    Pauses::longPause();
    splash.reset();

    window.show();
    QCoreApplication::processEvents();

    const int code = app.exec();
    Prompt::install(nullptr);
    return code;
}
