#include "alerts/CheckDue.h"

#include "alerts/DesktopNotifier.h"
#include "alerts/DueAnnouncer.h"
#include "mainwindow/DeadlineList.h"
#include "platform/DesktopKeyring.h"
#include "startup/Language.h"
#include "startup/Provisioning.h"
#include "startup/Session.h"
#include "startup/Setting.h"
#include "startup/StartupSteps.h"
#include "store/Connection.h"
#include "store/Database.h"
#include "store/DbError.h"

#include <QCoreApplication>
#include <QLocale>

#include <cstdio>

int CheckDue::run(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    Session session;
    applyLanguage(session, localeLanguageCode(QLocale::system()));
    // The register start-up would open; nothing is made, provisioned or upgraded.
    const QString server = session.settings().text(Setting::ServerRegister).trimmed();
    if (!server.isEmpty()) {
        DesktopKeyring keyring(Session::AppTitle);
        const Keyring::Read password = keyring.read(server);
        session.setServerRegister(server, password.outcome == Keyring::Outcome::Done ? password.secret : QString());
    } else {
        const QString stored = session.settings().text(Setting::DatabaseFolder);
        session.setDatabaseFolder(stored.trimmed().isEmpty() ? defaultDatabaseFolder() : stored);
    }
    session.setConnectionString(Database::readOnly(session.connectionString()));
    try {
        Connection connection;
        connection.open(session.connectionString());
        connection.test();
    } catch (const DbError &error) {
        std::fprintf(stderr, "orvel2: %s\n", qPrintable(error.description()));
        return 1;
    }
    session.readDisplayOptions();
    session.display().counterSeparator = counterSeparatorText();
    DesktopNotifier notifier;
    DueAnnouncer(session, notifier).announce(DueAnnouncer::Scope::Everything, false);
    return 0;
}
