#include "platform/Prompts.h"
#include "store/BusyRetry.h"
#include "store/DbError.h"

#include <QTest>

class TestBusyRetry final : public QObject
{
    Q_OBJECT

private slots:
    void retriesOnlyWhileTheUserSaysRetry();
    void otherErrorsReachTheCaller();
};

void TestBusyRetry::retriesOnlyWhileTheUserSaysRetry()
{
    Prompt::ScriptedPrompts prompts;
    int attempts = 0;
    auto busyTwice = [&] {
        if (++attempts <= 2)
            throw DbError(DbError::Busy, QStringLiteral("database is locked"));
    };
    prompts.queueAnswer(Prompt::Answer::Retry);
    prompts.queueAnswer(Prompt::Answer::Retry);
    QVERIFY(retryWhileBusy(busyTwice));
    QCOMPARE(attempts, 3);
    QCOMPARE(prompts.shown().size(), 2);
    QCOMPARE(prompts.shown().first().buttons, Prompt::Buttons::RetryCancel);

    // An unanswered question is a cancel: the write is not tried again.
    attempts = 0;
    prompts.clear();
    QVERIFY(!retryWhileBusy(busyTwice));
    QCOMPARE(attempts, 1);
    QCOMPARE(prompts.shown().size(), 1);
}

void TestBusyRetry::otherErrorsReachTheCaller()
{
    Prompt::ScriptedPrompts prompts;
    auto broken = [] { throw DbError(DbError::SyntaxError, QStringLiteral("no such column")); };
    QVERIFY_THROWS_EXCEPTION(DbError, retryWhileBusy(broken));
    QVERIFY(prompts.shown().isEmpty());
}

QTEST_GUILESS_MAIN(TestBusyRetry)
#include "tst_BusyRetry.moc"
