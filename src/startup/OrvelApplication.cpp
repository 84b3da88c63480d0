#include "startup/OrvelApplication.h"

#include "platform/Prompts.h"
#include "startup/Session.h"
#include "startup/DbErrorText.h"
#include "store/DbError.h"

OrvelApplication::OrvelApplication(int &argc, char **argv) : QApplication(argc, argv)
{
    setOrganizationName(QStringLiteral("Kestrum"));
    setApplicationName(Session::AppTitle);
    setApplicationVersion(QStringLiteral(ORVEL_VERSION));
    // Ties the windows to the installed menu entry (its icon, its name in the task switcher).
    setDesktopFileName(QStringLiteral("com.kestrum.Orvel2"));
    // No display name: window systems append it to every title ("New Deadline -
    // Orvel 2"), and each window's title is its own text alone.
}

QString OrvelApplication::describeError(const std::exception &e, const QString &connectionString)
{
    if (const auto *db = dynamic_cast<const DbError *>(&e))
        return DbErrorText::registerSentence(*db, connectionString);
    return QString::fromLocal8Bit(e.what());
}

bool OrvelApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception &e) {
        Prompt::message(describeError(e, m_connectionString), Session::AppTitle, Prompt::Icon::Critical,
                        Prompt::Buttons::Ok);
    } catch (...) {
        Prompt::message(QStringLiteral("Unexpected error."), Session::AppTitle, Prompt::Icon::Critical,
                        Prompt::Buttons::Ok);
    }
    return false;
}
