#include "StartupFixture.h"
#include "../support/TestDatabase.h"

#include "platform/Keyring.h"
#include "startup/DatabaseFolderChoice.h"
#include "startup/DbErrorPrompt.h"
#include "startup/ServerAddress.h"
#include "startup/ServerRegisterChoice.h"
#include "startup/Setting.h"
#include "startup/StartupSteps.h"
#include "startup/Texts.h"
#include "store/Connection.h"
#include "store/Database.h"

#include <QDir>
#include <QSqlQuery>
#include <QUrl>
#include <QUrlQuery>

// A register on a database server: its address, its password and a server
// that is down when the program starts.
class tst_StartupServer final : public QObject, StartupFixture
{
    Q_OBJECT

private slots:
    void initTestCase() { checkTemplate(); }
    void init() { setUp(); }

    // Every part of a server's address, however awkward, reaches the driver as
    // typed and comes back into the dialog's fields; the password joins it only
    // on the way to the driver.
    void serverAddressRoundTripsThroughTheDriversParameters()
    {
        using E = ServerAddress::Encryption;
        const struct
        {
            ServerAddress::Fields fields;
            QString shown;
            QString parameters;   // libpq's, each value quoted as libpq reads it
        } cases[] = {
            {{{}, "db.office.lan", 5433, "reg istro/2026?#@:", "al@ice:/?# l'é", E::Always},
             "db.office.lan:5433/reg istro/2026?#@:",
             "host='db.office.lan' port='5433' dbname='reg istro/2026?#@:' user='al@ice:/?# l\\'é' PASSWORD sslmode='require'"},
            {{{}, "/tmp/sock folder é", 5432, "orvel", {}, E::WhenOffered}, "/tmp/sock folder é/orvel",
             "dbname='orvel' PASSWORD host='/tmp/sock folder é' sslmode='prefer'"},
            {{{}, "::1", 5432, "Größe", "ünï", E::Verified}, "::1/Größe",
             "host='::1' dbname='Größe' user='ünï' PASSWORD sslmode='verify-full' sslrootcert='/etc/ssl/my ca.pem'"},
            {{{}, {}, 5432, {}, "bob", E::WhenOffered}, "localhost/bob", "user='bob' PASSWORD sslmode='prefer'"},   // no database: the user's
        };
        const QString password = QStringLiteral("p@ss:w/o?r#d 'é' \\%");
        for (auto [fields, shown, parameters] : cases) {
            const QString name = ServerAddress::uri(fields, QStringLiteral("/etc/ssl/my ca.pem"));
            QVERIFY2(Database::isServerRegister(name), qPrintable(name));
            QCOMPARE(Database::serverParameters(ServerAddress::withPassword(name, password)),
                     parameters.replace(QStringLiteral("PASSWORD"), QStringLiteral("password='p@ss:w/o?r#d \\'é\\' \\\\%'")));
            // The stored name holds no password; the dialog reads its fields back.
            QVERIFY(!Database::serverParameters(name).contains(QStringLiteral("password")));
            const std::optional<ServerAddress::Fields> back = ServerAddress::fields(name);
            QVERIFY(back);
            QCOMPARE(back->host, fields.host);
            QCOMPARE(back->port, fields.port);
            QCOMPARE(back->database, fields.database);
            QCOMPARE(back->user, fields.user);
            QCOMPARE(int(back->encryption), int(fields.encryption));
            QCOMPARE(ServerAddress::shownName(ServerAddress::withPassword(name, password)), shown);
        }
    }

    // The register is kept in the settings and its password in the keyring, never
    // in the settings file; without a keyring nothing is kept and ~/.pgpass is
    // named. Messages about the server name it, never its password.
    void serverPasswordIsNeverInTheSettings()
    {
        Keyring::MemoryKeyring keyring;
        const QString host = m_home->filePath(QStringLiteral("no server"));   // a socket folder: fails at once
        const QString name = ServerAddress::uri({.host = host, .database = QStringLiteral("orvel"), .user = QStringLiteral("anna")});
        const QString password = QStringLiteral("s3cret pässwörd");
        const QString file = settings().fileName();
        const auto fileHoldsPassword = [&] {
            const QByteArray bytes = fileBytes(file);
            return bytes.contains(password.toUtf8()) || bytes.contains(QUrl::toPercentEncoding(password))
                   || bytes.contains("s3cret");
        };

        QCOMPARE(ServerRegisterChoice::store(settings(), name, password), QString());
        QCOMPARE(settings().text(Setting::ServerRegister), name);
        QCOMPARE(keyring.secrets.value(name), password);
        QVERIFY(!fileHoldsPassword());

        // Start-up hands the password to the driver alone.
        openServerRegister(*m_session, name);
        QCOMPARE(m_session->serverRegister(), name);
        QVERIFY(Database::serverParameters(m_session->connectionString()).contains(QStringLiteral("password='s3cret")));
        QVERIFY(!fileHoldsPassword());

        // A lost connection: Retry, naming host/database, not the password.
        QVERIFY(!DbErrorPrompt::tell(DbError(-1, QStringLiteral("server closed the connection unexpectedly (")
                                                   + QUrl(m_session->connectionString()).adjusted(QUrl::RemovePassword).toString()
                                                   + u')'),
                                     m_session->connectionString()));
        const Prompt::Shown lost = m_prompts->shown().last();
        QCOMPARE(lost.buttons, Prompt::Buttons::RetryCancel);
        const QString serverName = host + QStringLiteral("/orvel");
        QVERIFY2(lost.text.startsWith(Texts::text(2960).arg(serverName, QString()).section(u'(', 0, 0)),
                 qPrintable(lost.text));
        QVERIFY2(!lost.text.contains(QStringLiteral("s3cret")), qPrintable(lost.text));

        // No keyring: nothing kept, and the user is told where the password goes.
        keyring.available = false;
        keyring.secrets.clear();
        const QString notice = ServerRegisterChoice::store(settings(), name, password);
        QVERIFY2(notice.contains(QStringLiteral("~/.pgpass")), qPrintable(notice));
        QVERIFY(keyring.secrets.isEmpty());
        QVERIFY(!fileHoldsPassword());

        // Choosing a folder again ends the use of the server.
        DatabaseFolderChoice::storeFolder(settings(), m_home->filePath(QStringLiteral("stick")));
        QCOMPARE(settings().text(Setting::ServerRegister), QString());
    }

    // A server that does not answer at start is named (never with its password)
    // with Retry, Choose another folder or server, and Quit, as a missing folder is.
    void serverDownAtStartOffersRetryChooseQuit_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::newRow("Quit") << "quit";
        QTest::newRow("another folder") << "folder";
        QTest::newRow("Retry once the server is up") << "retry";
    }

    void serverDownAtStartOffersRetryChooseQuit()
    {
        QFETCH(QString, answer);
        const QString cluster = qEnvironmentVariable("ORVEL_TEST_REGISTER");
        const QString clusterSockets = QUrlQuery(QUrl(cluster)).queryItemValue(QStringLiteral("host"));
        if (answer == QStringLiteral("retry") && clusterSockets.isEmpty())
            QSKIP("needs the private cluster (ORVEL_TEST_REGISTER)");
        // The server's socket folder, which appears only while the question shows.
        const QString sockets = m_home->filePath(QStringLiteral("server"));
        const QString name =
            ServerAddress::uri({.host = sockets, .database = QStringLiteral("orvel_startup"), .user = QStringLiteral("orvel")});
        Keyring::MemoryKeyring keyring;
        keyring.secrets.insert(name, QStringLiteral("s3cret"));
        settings().setText(Setting::ServerRegister, name);
        if (answer == QStringLiteral("retry")) {
            Connection admin;
            QUrl postgres(cluster);
            postgres.setPath(QStringLiteral("/postgres"));
            admin.open(postgres.toString());
            QSqlQuery query(admin.database());
            QVERIFY(query.exec(QStringLiteral("DROP DATABASE IF EXISTS orvel_startup WITH (FORCE)")));
            QVERIFY(query.exec(QStringLiteral("CREATE DATABASE orvel_startup")));
            m_prompts->queueAnswer(Prompt::Answer::Retry);
            m_beforeQuestion = [&] { QFile::link(clusterSockets, sockets); };
        } else if (answer == QStringLiteral("folder")) {
            m_prompts->queueAnswer(Prompt::Answer::Choose);
            m_prompts->queueChoice(0);
            m_prompts->queueFolder(m_home->filePath(QStringLiteral("stick")));
            QVERIFY(QDir().mkpath(m_home->filePath(QStringLiteral("stick"))));
        }

        QCOMPARE(start(QStringLiteral("0409")), answer == QStringLiteral("quit") ? SessionOutcome::Ended
                                                                                 : SessionOutcome::Ready);
        const auto shown = m_prompts->shown();
        QVERIFY(!shown.isEmpty());
        QCOMPARE(shown[0].buttons, Prompt::Buttons::RetryChooseAnyQuit);
        const QString serverName = QDir::toNativeSeparators(sockets) + QStringLiteral("/orvel_startup");
        QVERIFY2(shown[0].text.startsWith(Texts::text(2960).arg(serverName, QString()).section(u'(', 0, 0)),
                 qPrintable(shown[0].text));
        QVERIFY2(shown[0].text.endsWith(u'\n' + Texts::text(2961)), qPrintable(shown[0].text));
        QVERIFY(!shown[0].text.contains(QStringLiteral("s3cret")));
        if (answer == QStringLiteral("quit")) {
            QCOMPARE(shown.size(), 1);
        } else if (answer == QStringLiteral("folder")) {
            QCOMPARE(shownKinds(), (QStringList{"message", "choice", "folder"}));
            QVERIFY(!m_session->onServer());
            QCOMPARE(settings().text(Setting::ServerRegister), QString());
            QCOMPARE(settings().text(Setting::DatabaseFolder), m_home->filePath(QStringLiteral("stick")));
        } else {
            QCOMPARE(shown.size(), 1);
            QVERIFY(m_session->onServer());
            QCOMPARE(m_session->activeSheetId(), 1);
            QCOMPARE(scalar(QStringLiteral("SELECT Count(DbId) AS n FROM Dbs")), 1);
        }
    }
};

QTEST_MAIN(tst_StartupServer)
#include "tst_StartupServer.moc"
