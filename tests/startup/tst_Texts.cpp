#include "platform/Prompts.h"
#include "startup/DbErrorPrompt.h"
#include "startup/DbErrorText.h"
#include "startup/LanguageMenu.h"
#include "startup/Session.h"
#include "startup/Setting.h"
#include "startup/Texts.h"
#include "store/DbError.h"

#include "../support/TestDatabase.h"

#include <QDir>
#include <QLocale>
#include <QSqlError>
#include <QTemporaryDir>
#include <QtTest>

#include <array>
#include <tuple>

namespace {

const std::array<Language, 5> AllLanguages = {Language::Italian, Language::English, Language::French,
                                              Language::Spanish, Language::German};

} // namespace

// The five-language text table, the language a start chooses, the language menu,
// and database errors told to the user in their language.
class tst_Texts final : public QObject
{
    Q_OBJECT

private slots:
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
            Prompt::ScriptedPrompts prompts;
            QFile::remove(m_dir.filePath(QStringLiteral("settings.ini")));
            Session session(SettingsStore(m_dir.filePath(QStringLiteral("settings.ini"))));
            session.setLanguageChoice(current);
            QCOMPARE(LanguageMenu::choose(index, session), changes);
            QCOMPARE(session.languageChoice(), changes ? index : current);
            QCOMPARE(session.settings().integer(Setting::LanguageChoice.name, -99), changes ? index : -99);
            QCOMPARE(Texts::language(), Language::English);
            QCOMPARE(prompts.shownTexts(), changes ? QStringList{"Restart the application."} : QStringList());
        }
    }

    void retriesOnlyWhileTheUserSaysRetry()
    {
        Prompt::ScriptedPrompts prompts;
        const QString connectionString = QStringLiteral("Data Source=/tmp/orvel2.mdb");
        int attempts = 0;
        auto busyTwice = [&] {
            if (++attempts <= 2)
                throw DbError(DbError::Busy, QStringLiteral("database is locked"));
        };
        prompts.queueAnswer(Prompt::Answer::Retry);
        prompts.queueAnswer(Prompt::Answer::Retry);
        QVERIFY(DbErrorPrompt::run(connectionString, busyTwice));
        QCOMPARE(attempts, 3);
        QCOMPARE(prompts.shown().size(), 2);
        QCOMPARE(prompts.shown().first().buttons, Prompt::Buttons::RetryCancel);

        // An unanswered question is a cancel: the work is not tried again.
        attempts = 0;
        prompts.clear();
        QVERIFY(!DbErrorPrompt::run(connectionString, busyTwice));
        QCOMPARE(attempts, 1);
        QCOMPARE(prompts.shown().size(), 1);

        // An error that retrying cannot mend is told once, with OK alone.
        prompts.clear();
        attempts = 0;
        auto broken = [&] {
            ++attempts;
            throw DbError(DbError::SyntaxError, QStringLiteral("no such column"));
        };
        prompts.queueAnswer(Prompt::Answer::Retry);
        QVERIFY(!DbErrorPrompt::run(connectionString, broken));
        QCOMPARE(attempts, 1);
        QCOMPARE(prompts.shown().size(), 1);
        QCOMPARE(prompts.shown().first().buttons, Prompt::Buttons::Ok);
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

private:
    QTemporaryDir m_dir;
};

QTEST_GUILESS_MAIN(tst_Texts)
#include "tst_Texts.moc"
