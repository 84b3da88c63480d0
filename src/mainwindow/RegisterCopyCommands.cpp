#include "mainwindow/RegisterCopyCommands.h"

#include "export/SaveTarget.h"
#include "platform/Prompts.h"
#include "startup/ServerAddress.h"
#include "startup/ServerRegisterDialog.h"
#include "startup/Session.h"
#include "startup/Texts.h"
#include "store/Database.h"
#include "store/DbError.h"
#include "store/RegisterCopy.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QMenu>

#include <functional>

namespace {

// A register as the user may see it: a server's never with its password.
QString shownRegister(const QString &target)
{
    return Database::isServerRegister(target) ? ServerAddress::shownName(target) : QDir::toNativeSeparators(target);
}

// Runs the copy under a busy cursor and tells how it ended; retry says whether
// the user chose Retry after an engine failed.
void runCopy(const QString &shown, const std::function<RegisterCopy::Outcome()> &copy, bool &retry)
{
    RegisterCopy::Outcome outcome;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    try {
        outcome = copy();
        QApplication::restoreOverrideCursor();
    } catch (const DbError &error) {
        QApplication::restoreOverrideCursor();
        retry = Prompt::message(Texts::text(2753).arg(shown, error.description()), Session::AppTitle,
                                Prompt::Icon::Warning, Prompt::Buttons::RetryCancel)
                == Prompt::Answer::Retry;
        return;
    }
    retry = false;
    switch (outcome.result) {
    case RegisterCopy::Outcome::Result::Copied:
        Prompt::message(Texts::text(2750)
                            .arg(shown)
                            .arg(outcome.target.deadlines())
                            .arg(outcome.target.counterparties())
                            .arg(outcome.target.sheets()),
                        Session::AppTitle, Prompt::Icon::Information);
        return;
    case RegisterCopy::Outcome::Result::TargetNotEmpty:
        Prompt::message(Texts::text(2751).arg(shown), Session::AppTitle, Prompt::Icon::Warning);
        return;
    case RegisterCopy::Outcome::Result::Differs:
        Prompt::message(Texts::text(2752).arg(shown), Session::AppTitle, Prompt::Icon::Critical);
        return;
    }
}

void copyToServer(Session &session, QWidget *parent)
{
    ServerRegisterDialog dialog(session.settings(), parent, ServerRegisterDialog::Purpose::CopyInto);
    for (bool retry = true; retry;) {
        // The dialog keeps what the user typed, to be corrected after a failure.
        if (dialog.exec() != QDialog::Accepted)
            return;
        const QString source = session.connectionString();
        const QString target = dialog.connectionName();
        runCopy(shownRegister(dialog.registerName()), [&] { return RegisterCopy::toServer(source, target); }, retry);
    }
}

void copyToFile(const Session &session)
{
    const QString target = askSaveTarget(Session::AppTitle + QStringLiteral(" - ") + Texts::text(2754),
                                         Texts::text(2749), QStringLiteral("mdb"), Database::FileName);
    if (target.isEmpty())
        return;
    const QString source = session.connectionString();
    const QString templatePath = session.programFolder() + QDir::separator() + QStringLiteral("master.gen");
    for (bool retry = true; retry;)
        runCopy(shownRegister(target), [&] { return RegisterCopy::toFile(source, target, templatePath); }, retry);
}

} // namespace

void addRegisterCopyCommands(QMenu *file, Session &session, QWidget *parent)
{
    QAction *toServer = file->addAction(Texts::text(2746));
    toServer->setObjectName(QStringLiteral("copyToServerAction"));
    QAction *toFile = file->addAction(Texts::text(2747));
    toFile->setObjectName(QStringLiteral("copyToFileAction"));
    QObject::connect(toServer, &QAction::triggered, parent, [&session, parent] { copyToServer(session, parent); });
    QObject::connect(toFile, &QAction::triggered, parent, [&session] { copyToFile(session); });
    // The register may change while the program runs (Tools > Change database).
    const auto showFitting = [toServer, toFile, &session] {
        const bool server = Database::isServerRegister(session.connectionString());
        toServer->setVisible(!server);
        toFile->setVisible(server);
    };
    showFitting();
    QObject::connect(file, &QMenu::aboutToShow, parent, showFitting);
}
