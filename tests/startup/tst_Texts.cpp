#include "StartupFixture.h"

#include "platform/Keyring.h"
#include "startup/DatabaseFolderChoice.h"
#include "startup/DbErrorPrompt.h"
#include "startup/DbErrorText.h"
#include "startup/LanguageMenu.h"
#include "startup/ServerAddress.h"
#include "startup/ServerRegisterChoice.h"
#include "startup/Setting.h"
#include "startup/StartupSteps.h"
#include "startup/Texts.h"
#include "store/Connection.h"
#include "store/Database.h"
#include "store/DbError.h"

#include "../support/TestDatabase.h"

#include <QDir>
#include <QLocale>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>
#include <QUrlQuery>

#include <array>
#include <tuple>

namespace {

const std::array<Language, 5> AllLanguages = {Language::Italian, Language::English, Language::French,
                                              Language::Spanish, Language::German};

} // namespace

// What the user reads: the five-language text table, the language a start
// chooses, the language menu, database errors told in the user's language; and
// a register on a database server: its address, its password and a server that
// is down when the program starts.
class tst_Texts final : public QObject, StartupFixture
{
    Q_OBJECT

private slots:
    void initTestCase() { checkTemplate(); }
    void init() { setUp(); }

    void everyLanguageHoldsEveryIdWithItsMarkup()
    {
        int ids = 0;
        for (int id = 0; id < 3000; ++id) {
            const QString english = Texts::text(id, Language::English);
            ids += english.isEmpty() ? 0 : 1;
            for (Language language : AllLanguages) {
                const QString text = Texts::text(id, language);
                const QString where = QStringLiteral("id %1 + %2: \"%3\"").arg(id).arg(int(language)).arg(text);
                // An id present in one language is present in all of them.
                QVERIFY2(text.isEmpty() == english.isEmpty(), qPrintable(where));
                // Placeholders and separators are replaced and split at run time.
                QVERIFY2(text.contains(QLatin1String("xxx")) == english.contains(QLatin1String("xxx")), qPrintable(where));
                QVERIFY2(text.count(QLatin1Char('|')) == english.count(QLatin1Char('|')), qPrintable(where));
                for (const QString mark : {"%1", "%2", "%3", "%4", "%5", "%6", "%7", "%8", "%9"})
                    QVERIFY2(text.count(mark) == english.count(mark), qPrintable(where));
                // A menu caption keeps one accelerator.
                if (english.contains(QLatin1Char('&')))
                    QVERIFY2(text.count(QLatin1Char('&')) == 1 && !text.endsWith(QLatin1Char('&')), qPrintable(where));
                QVERIFY2(!text.contains(QLatin1Char('\t')) && !text.contains(QLatin1Char('\n')), qPrintable(where));
            }
        }
        QCOMPARE(ids, Texts::count());
        QVERIFY(Texts::text(201, Language(15000)).isEmpty());
    }

    void languageFromChoiceAndLocale()
    {
        const QLocale it(QLocale::Italian, QLocale::Italy);
        const std::tuple<int, QLocale, QString, Language> cases[] = {
            {0, QLocale(QLocale::Italian, QLocale::Switzerland), "0810", Language::Italian},
            {0, QLocale(QLocale::French, QLocale::Guadeloupe), "e40c", Language::French},
            {0, QLocale(QLocale::Portuguese, QLocale::Brazil), "0416", Language::English},
            // Languages of Italy, Spain and Switzerland that are not in the table.
            {0, QLocale(QLocale::Catalan, QLocale::Spain), "0403", Language::English},
            {0, QLocale::c(), "007f", Language::English},
            {2, it, "0410", Language::German},
            {6, QLocale(QLocale::French, QLocale::France), "040c", Language::Italian},
            {1, it, "0410", Language::English},   // the separator
            {7, it, "0410", Language::English},   // beyond the menu
        };
        for (const auto &[choice, locale, code, language] : cases) {
            QCOMPARE(localeLanguageCode(locale), code);
            QCOMPARE(chooseLanguage(choice, code), language);
        }
        // Codes are compared as the platform writes them: upper case is no match.
        QCOMPARE(chooseLanguage(0, QStringLiteral("040C")), Language::English);
    }

    // Each language's help page ships under the name the program asks for, in that language.
    void helpPageShipsInItsLanguage()
    {
        const QStringList htmlLangs{"it", "en", "fr", "es", "de"};
        for (int i = 0; i < 5; ++i) {
            const QString page = qEnvironmentVariable("ORVEL_PROGRAM_FOLDER") + u'/' + helpFileName(AllLanguages[i]);
            const QString html = QString::fromUtf8(fileBytes(page));
            QVERIFY(html.contains(QStringLiteral("<html lang=\"%1\">").arg(htmlLangs[i])));
            QVERIFY(html.contains(QLatin1String("<meta charset=\"utf-8\">")));
        }
    }

    // The menu's entry is stored and a restart asked for; the texts on screen stay
    // in the language of this run. The same entry, the separator and what lies past
    // the last entry change nothing.
    void languageMenuChoice()
    {
        Texts::setLanguage(Language::English);
        const std::tuple<int, int, bool> cases[] = {{0, 6, true}, {6, 6, false}, {3, 0, true}, {0, 1, false}, {0, 7, false}};
        for (const auto &[current, index, changes] : cases) {
            m_prompts->clear();
            QFile::remove(m_home->filePath(QStringLiteral("menu.ini")));
            Session session(SettingsStore(m_home->filePath(QStringLiteral("menu.ini"))));
            session.setLanguageChoice(current);
            QCOMPARE(LanguageMenu::choose(index, session), changes);
            QCOMPARE(session.languageChoice(), changes ? index : current);
            QCOMPARE(session.settings().integer(Setting::LanguageChoice.name, -99), changes ? index : -99);
            QCOMPARE(Texts::language(), Language::English);
            QCOMPARE(m_prompts->shownTexts(), changes ? QStringList{"Restart the application."} : QStringList());
        }
    }

    void retriesOnlyWhileTheUserSaysRetry()
    {
        const QString connectionString = QStringLiteral("Data Source=/tmp/orvel2.mdb");
        int attempts = 0;
        auto busyTwice = [&] {
            if (++attempts <= 2)
                throw DbError(DbError::Busy, QStringLiteral("database is locked"));
        };
        m_prompts->queueAnswer(Prompt::Answer::Retry);
        m_prompts->queueAnswer(Prompt::Answer::Retry);
        QVERIFY(DbErrorPrompt::run(connectionString, busyTwice));
        QCOMPARE(attempts, 3);
        QCOMPARE(m_prompts->shown().size(), 2);
        QCOMPARE(m_prompts->shown().first().buttons, Prompt::Buttons::RetryCancel);

        // An unanswered question is a cancel: the work is not tried again.
        attempts = 0;
        m_prompts->clear();
        QVERIFY(!DbErrorPrompt::run(connectionString, busyTwice));
        QCOMPARE(attempts, 1);
        QCOMPARE(m_prompts->shown().size(), 1);

        // An error that retrying cannot mend is told once, with OK alone.
        m_prompts->clear();
        attempts = 0;
        auto broken = [&] {
            ++attempts;
            throw DbError(DbError::SyntaxError, QStringLiteral("no such column"));
        };
        m_prompts->queueAnswer(Prompt::Answer::Retry);
        QVERIFY(!DbErrorPrompt::run(connectionString, broken));
        QCOMPARE(attempts, 1);
        QCOMPARE(m_prompts->shown().size(), 1);
        QCOMPARE(m_prompts->shown().first().buttons, Prompt::Buttons::Ok);
    }

    void engineErrorsBecomeSentencesThatNameTheFile()
    {
        using Cause = DbErrorText::Cause;
        // SQLite's codes as the engine reports them, extended codes included.
        const std::tuple<int, QString, Cause> errors[] = {
            {DbError::Busy, "database is locked", Cause::Busy},
            {6, "database table is locked", Cause::Busy},
            {13, "database or disk is full", Cause::Full},
            {8, "attempt to write a readonly database", Cause::ReadOnly},
            {778, "disk I/O error", Cause::Unreachable},
            {14, "unable to open database file", Cause::Unreachable},
            {DbError::FileNotFound, "Could not find file", Cause::Unreachable},
            {11, "database disk image is malformed", Cause::Damaged},
            {26, "file is not a database", Cause::Damaged},
            {DbError::NotOurDatabase, "is not a deadline database", Cause::Damaged},
            {2067, "UNIQUE constraint failed: Accounts.AcName", Cause::Refused},
            // The store's own numbers are no SQLite codes, whatever their low byte reads as.
            {DbError::SyntaxError, "Syntax error", Cause::Other},
            {DbError::NumericOverflow, "Currency value out of range", Cause::Other},
            {-1, "out of memory", Cause::Other},
        };
        const QString path = QStringLiteral("/media/usb/Orvel2DB/orvel2.mdb");
        for (const auto &[number, engineText, cause] : errors) {
            const DbError error(number, engineText);
            QVERIFY2(DbErrorText::cause(error) == cause, qPrintable(engineText));
            // Every language keeps the same placeholders (checked above for all ids); two show the sentence is built.
            for (const Language language : {Language::Italian, Language::German}) {
                Texts::setLanguage(language);
                const QString sentence = DbErrorText::sentence(error, path);
                QVERIFY2(sentence.contains(QDir::toNativeSeparators(path)), qPrintable(sentence));
                QVERIFY2(!sentence.contains(u'%'), qPrintable(sentence));
                // The engine's own English only where it is the one detail that tells
                // which rule or which failure.
                QCOMPARE(sentence.contains(engineText), cause == Cause::Refused || cause == Cause::Other);
            }
        }
        Texts::setLanguage(Language::English);

        // A server's states, whatever their low byte reads as.
        const QString server = QStringLiteral("postgresql://office/orvel");
        const std::pair<const char *, Cause> states[] = {
            {"", Cause::Unreachable},   // libpq's own: no connection, connection lost
            {"08006", Cause::Unreachable}, {"57P01", Cause::Unreachable}, {"28P01", Cause::Unreachable},
            {"40001", Cause::Busy},        {"40P01", Cause::Busy},        {"55P03", Cause::Busy},
            {"53100", Cause::Full},        {"23505", Cause::Refused},     {"42501", Cause::Refused},
            {"42P01", Cause::Other},
        };
        for (const auto &[state, expected] : states) {
            const DbError error = DbError::fromEngine(
                QSqlError(QString(), QStringLiteral("engine says"), QSqlError::StatementError, QString::fromLatin1(state)));
            QVERIFY2(DbErrorText::registerCause(error, server) == expected, state);
            // Only a lost race is worth the store's own retries. No state passes for a
            // SQLite code: 42501's low byte is SQLITE_BUSY's.
            QCOMPARE(error.isBusy(), qstrcmp(state, "40001") == 0 || qstrcmp(state, "40P01") == 0);
        }
    }


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
    void serverDownAtStartOffersRetryChooseQuit()
    {
        const QString cluster = qEnvironmentVariable("ORVEL_TEST_REGISTER");
        const QString clusterSockets = QUrlQuery(QUrl(cluster)).queryItemValue(QStringLiteral("host"));
        // Quit, another folder, and Retry once the server is up, which needs the
        // private cluster (ORVEL_TEST_REGISTER).
        for (const QString answer : {"quit", "folder", "retry"}) {
            if (answer == QStringLiteral("retry") && clusterSockets.isEmpty())
                continue;
            setUp();
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
    }
};

QTEST_MAIN(tst_Texts)
#include "tst_Texts.moc"
