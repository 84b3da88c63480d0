#include "platform/Prompts.h"
#include "startup/OrvelApplication.h"
#include "store/Database.h"
#include "startup/DbErrorText.h"

#include <QGuiApplication>
#include <QTest>
#include <QTimer>

// An error that escapes a command handler reaches the user as a message and the
// program keeps running.
class tst_OrvelApplication final : public QObject
{
    Q_OBJECT

private slots:
    void namedSoThenEscapedErrorsBecomeMessages()
    {
        // The names give the settings file's place. Window systems append a display
        // name to every title; the program sets none, so a title is its own text alone.
        QCOMPARE(QCoreApplication::applicationName(), QStringLiteral("Orvel 2"));
        QCOMPARE(QCoreApplication::organizationName(), QStringLiteral("Kestrum"));
        QCoreApplication::setApplicationName(QStringLiteral("renamed"));
        QCOMPARE(QGuiApplication::applicationDisplayName(), QStringLiteral("renamed"));
        QCoreApplication::setApplicationName(QStringLiteral("Orvel 2"));

        Prompt::ScriptedPrompts prompts;
        const QString folder = QStringLiteral("/media/usb/Orvel2DB");
        const QString path = folder + QStringLiteral("/orvel2.mdb");
        static_cast<OrvelApplication *>(qApp)->setConnectionString(Database::connectionString(folder));
        bool afterwards = false;
        QTimer::singleShot(0, [] { throw DbError(3021, QStringLiteral("No current record.")); });
        QTimer::singleShot(0, [] { throw std::runtime_error("disk full"); });
        QTimer::singleShot(5, [&afterwards] { afterwards = true; });
        QTRY_VERIFY(afterwards);

        // A database error in the user's words, naming the file; any other as it came.
        QCOMPARE(prompts.shownTexts(),
                 QStringList({DbErrorText::sentence(DbError(3021, QStringLiteral("No current record.")), path),
                              QStringLiteral("disk full")}));
        QCOMPARE(prompts.shown().first().icon, Prompt::Icon::Critical);
        QCOMPARE(prompts.shown().first().caption, QStringLiteral("Orvel 2"));
    }
};

int main(int argc, char *argv[])
{
    OrvelApplication app(argc, argv);
    tst_OrvelApplication test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_orvelapplication.moc"
