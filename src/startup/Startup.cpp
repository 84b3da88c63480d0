#include "startup/Startup.h"

#include "about/SplashScreen.h"
#include "alerts/DesktopNotifier.h"
#include "alerts/DueAnnouncer.h"
#include "alerts/DueNoticeOpening.h"
#include "alerts/DueWarningDialog.h"
#include "mainwindow/MainWindow.h"
#include "platform/DesktopKeyring.h"
#include "platform/Pauses.h"
#include "platform/WidgetPrompts.h"
#include "startup/BackupSchedule.h"
#include "startup/CommandLine.h"
#include "startup/Language.h"
#include "startup/OrvelApplication.h"
#include "startup/ServerRegisterDialog.h"
#include "startup/Session.h"
#include "startup/SingleInstance.h"
#include "startup/StartupQuestions.h"
#include "startup/StartupSteps.h"
#include "startup/Texts.h"
#include "store/RegisterListener.h"

#include <QDir>

#include <QAction>
#include <QElapsedTimer>
#include <QLabel>
#include <QMenu>
#include <QStatusBar>
#include <QWindow>

#include <memory>
#include <optional>

namespace {

constexpr int ServerBacksUpText = 2964;   // "A register on a server is backed up on the server, ..."

// Which register the window shows, at the status bar's right: the file's path or
// host/database, shortened in the middle when long.
void showRegisterInUse(QMainWindow &window, const Session &session)
{
    auto *label = new QLabel(window.statusBar());
    label->setObjectName(QStringLiteral("registerLabel"));
    const QString name = session.registerName();
    label->setText(label->fontMetrics().elidedText(name, Qt::ElideMiddle, 320));
    label->setToolTip(name);
    window.statusBar()->addPermanentWidget(label);
}

// What only a file allows (its backups) says why it is not there on a server.
void disableFileOnlyCommands(QMainWindow &window)
{
    QAction *restore = window.findChild<QAction *>(QStringLiteral("restoreBackupAction"));
    if (!restore)
        return;
    restore->setEnabled(false);
    restore->setToolTip(Texts::text(ServerBacksUpText));
    for (QObject *shown : restore->associatedObjects()) {
        if (auto *menu = qobject_cast<QMenu *>(shown))
            menu->setToolTipsVisible(true);
    }
}

} // namespace

int Startup::run(int argc, char *argv[])
{
    OrvelApplication app(argc, argv);

    SingleInstance instance;
    if (instance.anotherRuns())
        return 0;

    Session session;
    session.setRegisterForThisRun(CommandLine::registerOf(argc, argv));
    // A server's password is kept there, and read before the first connection.
    DesktopKeyring keyring(Session::AppTitle);
    const QString localeCode = localeLanguageCode(QLocale::system());
    applyLanguage(session, localeCode);
    // Made once the language is known, so that its own buttons speak it: Quit
    // (2002), Choose another folder (2700) and Choose another folder or server (2962).
    WidgetPrompts prompts(
        {.quit = Texts::text(2002), .chooseFolder = Texts::text(2700), .chooseAny = Texts::text(2962)});
    Prompt::install(&prompts);
    if (!instance.acquired()) {
        // Nothing shows that another copy runs: say so and start anyway.
        Prompt::message(Texts::text(2015).arg(QDir::toNativeSeparators(instance.lockPath()), instance.failure()),
                        Session::AppTitle, Prompt::Icon::Warning, Prompt::Buttons::Ok);
    }

    // The splash shows while the database is checked (a lock is waited for), so
    // the start never sits without a window; it closes before any message, also
    // one from the main window's load, so that none opens hidden under it.
    auto splash = std::make_unique<SplashScreen>();
    auto closeSplash = [&splash] { splash.reset(); };
    std::optional<PromptsAboveSplash> aboveSplash(std::in_place, closeSplash);
    splash->show();
    // Paint it before the main window's load blocks the thread, or it stays blank
    // until the load is over. The window system may take a moment to map it.
    QElapsedTimer mapping;
    mapping.start();
    while (splash->windowHandle() && !splash->windowHandle()->isExposed() && mapping.elapsed() < 500)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    splash->repaint();
    QCoreApplication::processEvents();
    const auto chooseServer = [&session]() -> QString {
        ServerRegisterDialog dialog(session.settings());
        return dialog.exec() == QDialog::Accepted ? dialog.registerName() : QString();
    };
    if (prepareSession(session, localeCode, closeSplash, chooseServer) == SessionOutcome::Ended)
        return 0;
    if (!splash) {
        splash = std::make_unique<SplashScreen>();
        splash->show();
    }
    QCoreApplication::processEvents();

    app.setConnectionString(session.connectionString());
    // Made before the window, so that it hears every change the window makes.
    BackupSchedule backups(session);
    // Other desks' saves on a server register reach this run's windows.
    RegisterListener listener(session.deadlineRegister(), session.connectionString(),
                              [&session] { return session.activeSheetId(); });
    const auto tellBackup = [](const QString &failure) {
        if (!failure.isEmpty())
            Prompt::message(failure, Session::AppTitle, Prompt::Icon::Warning);
    };
    MainWindow window(session);
    showRegisterInUse(window, session);
    if (session.onServer())
        disableFileOnlyCommands(window);
    QCoreApplication::processEvents();
    Pauses::longPause();
    splash.reset();
    aboveSplash.reset();

    window.show();
    QCoreApplication::processEvents();
    // The desktop is told what falls due from now on, also while the warning shows.
    DesktopNotifier notifier;
    DueAnnouncer announcer(session, notifier);
    QObject::connect(&announcer, &DueAnnouncer::openAsked, &window,
                     [&window, &session](qint32 sheetId) { showOpenDeadlines(window, session, sheetId); });
    announcer.start();
    // With the window on screen: a large register takes a moment to copy and check.
    tellBackup(backups.atStart());
    DueWarningDialog::showIfDue(session, &window);

    const int code = app.exec();
    tellBackup(backups.atExit());
    Prompt::install(nullptr);
    return code;
}
