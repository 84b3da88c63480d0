#include "startup/Startup.h"

#include "about/SplashScreen.h"
#include "alerts/DueWarningDialog.h"
#include "mainwindow/MainWindow.h"
#include "platform/Pauses.h"
#include "platform/WidgetPrompts.h"
#include "startup/Language.h"
#include "startup/OrvelApplication.h"
#include "startup/Session.h"
#include "startup/SingleInstance.h"
#include "startup/StartupSteps.h"

#include <QElapsedTimer>
#include <QWindow>

#include <memory>

int Startup::run(int argc, char *argv[])
{
    OrvelApplication app(argc, argv);

    SingleInstance instance;
    if (!instance.acquired())
        return 0;

    WidgetPrompts prompts;
    Prompt::install(&prompts);

    Session session;
    if (prepareSession(session, localeLanguageCode(QLocale::system())) == SessionOutcome::Ended)
        return 0;

    auto splash = std::make_unique<SplashScreen>();
    splash->show();
    // Paint it before the main window's load blocks the thread, or it stays blank
    // until the load is over. The window system may take a moment to map it.
    QElapsedTimer mapping;
    mapping.start();
    while (splash->windowHandle() && !splash->windowHandle()->isExposed() && mapping.elapsed() < 500)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    splash->repaint();
    QCoreApplication::processEvents();

    MainWindow window(session);
    QCoreApplication::processEvents();
    Pauses::longPause();
    splash.reset();

    window.show();
    QCoreApplication::processEvents();
    DueWarningDialog::showIfDue(session, &window);

    const int code = app.exec();
    Prompt::install(nullptr);
    return code;
}
