#include "platform/Prompts.h"
#include "startup/Texts.h"
#include "startup/DbErrorPrompt.h"
#include "store/DbError.h"
#include "startup/DbErrorText.h"

#include <QDir>
#include <QTest>

Q_DECLARE_METATYPE(DbErrorText::Cause)

class TestDbErrors final : public QObject
{
    Q_OBJECT

private slots:
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

    void engineErrorsBecomeSentencesThatNameTheFile_data()
    {
        using Cause = DbErrorText::Cause;
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("engineText");
        QTest::addColumn<Cause>("cause");

        // SQLite's codes as the engine reports them, extended codes included.
        QTest::newRow("locked by another program") << int(DbError::Busy) << "database is locked" << Cause::Busy;
        QTest::newRow("locked table") << 6 << "database table is locked" << Cause::Busy;
        QTest::newRow("disk full") << 13 << "database or disk is full" << Cause::Full;
        QTest::newRow("read-only file") << 8 << "attempt to write a readonly database" << Cause::ReadOnly;
        QTest::newRow("read-only folder") << 1544 << "attempt to write a readonly database" << Cause::ReadOnly;
        QTest::newRow("write error") << 778 << "disk I/O error" << Cause::Unreachable;
        QTest::newRow("cannot open") << 14 << "unable to open database file" << Cause::Unreachable;
        QTest::newRow("file gone") << int(DbError::FileNotFound) << "Could not find file" << Cause::Unreachable;
        QTest::newRow("malformed") << 11 << "database disk image is malformed" << Cause::Damaged;
        QTest::newRow("not a database") << 26 << "file is not a database" << Cause::Damaged;
        QTest::newRow("tables missing") << int(DbError::NotOurDatabase) << "is not a deadline database" << Cause::Damaged;
        QTest::newRow("trigger") << 1811 << "trigger says no" << Cause::Refused;
        QTest::newRow("unique") << 2067 << "UNIQUE constraint failed: Accounts.AcName" << Cause::Refused;
        // The store's own numbers are no SQLite codes, whatever their low byte reads as.
        QTest::newRow("store: syntax") << int(DbError::SyntaxError) << "Syntax error" << Cause::Other;
        QTest::newRow("store: overflow") << int(DbError::NumericOverflow) << "Currency value out of range" << Cause::Other;
        QTest::newRow("no code") << -1 << "out of memory" << Cause::Other;
    }

    void engineErrorsBecomeSentencesThatNameTheFile()
    {
        using Cause = DbErrorText::Cause;
        QFETCH(int, number);
        QFETCH(QString, engineText);
        QFETCH(Cause, cause);
        const DbError error(number, engineText);
        QCOMPARE(DbErrorText::cause(error), cause);

        const QString path = QStringLiteral("/media/usb/Orvel2DB/orvel2.mdb");
        for (const Language language : {Language::Italian, Language::English, Language::French, Language::Spanish,
                                        Language::German}) {
            Texts::setLanguage(language);
            const QString sentence = DbErrorText::sentence(error, path);
            QVERIFY2(sentence.contains(QDir::toNativeSeparators(path)), qPrintable(sentence));
            QVERIFY2(!sentence.contains(u'%'), qPrintable(sentence));
            // The engine's own English only where it is the one detail that tells
            // which rule or which failure.
            const bool detail = cause == Cause::Refused || cause == Cause::Other;
            QCOMPARE(sentence.contains(engineText), detail);
        }
        Texts::setLanguage(Language::English);
    }
};

QTEST_GUILESS_MAIN(TestDbErrors)
#include "tst_DbErrors.moc"
