#pragma once

#include "platform/Pauses.h"
#include "platform/Prompts.h"
#include "startup/Session.h"
#include "startup/SettingsStore.h"
#include "startup/StartupQuestions.h"

#include "../support/TestRows.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <memory>

// Start-up against a temporary home: checkTemplate() in initTestCase, setUp() in
// init, then start() each time the test starts the program again.
class StartupFixture
{
protected:
    std::unique_ptr<QTemporaryDir> m_home;
    std::unique_ptr<Prompt::ScriptedPrompts> m_prompts;
    std::unique_ptr<Session> m_session;
    QString m_programFolder;
    int m_splashClosedAt = -1;   // how many questions had been asked when the splash was first closed
    std::function<void()> m_beforeQuestion;   // runs before every question of a start

    QString defaultFolder() const { return m_home->filePath(QStringLiteral("Documents/Orvel2DB")); }
    QString defaultDatabase() const { return defaultFolder() + QStringLiteral("/orvel2.mdb"); }
    SettingsStore &settings() { return m_session->settings(); }

    // A new start of the program: a fresh session over the same settings file.
    SessionOutcome start(const QString &localeCode)
    {
        m_session = std::make_unique<Session>(SettingsStore(m_home->filePath(QStringLiteral("settings.ini"))));
        m_session->setProgramFolder(m_programFolder);
        m_splashClosedAt = -1;
        return prepareSession(*m_session, localeCode, [this] {
            if (m_splashClosedAt < 0)
                m_splashClosedAt = int(m_prompts->shown().size());
            if (m_beforeQuestion)
                m_beforeQuestion();
        });
    }

    // "@gone", "@stick" and "@default" stand for folders of the temporary home.
    QString resolved(QString path) const
    {
        path.replace(QStringLiteral("@gone"), m_home->filePath(QStringLiteral("unplugged drive/Orvel 'DB' é")));
        path.replace(QStringLiteral("@stick"), m_home->filePath(QStringLiteral("stick")));
        path.replace(QStringLiteral("@default"), defaultFolder());
        return path;
    }

    QStringList shownKinds() const
    {
        QStringList kinds;
        for (const Prompt::Shown &shown : m_prompts->shown())
            kinds.append(shown.kind);
        return kinds;
    }

    int scalar(const QString &sql) const
    {
        const QVariant value = firstValue(m_session->connectionString(), sql);
        return value.isValid() ? value.toInt() : -1;
    }

    static void checkTemplate()
    {
        QVERIFY2(QFile::exists(qEnvironmentVariable("ORVEL_PROGRAM_FOLDER") + QStringLiteral("/master.gen")),
                 "the template must be built");
        Pauses::setScale(0);
    }

    void setUp()
    {
        m_home = std::make_unique<QTemporaryDir>();
        qputenv("HOME", m_home->path().toLocal8Bit());
        qunsetenv("XDG_DOCUMENTS_DIR");
        m_programFolder = qEnvironmentVariable("ORVEL_PROGRAM_FOLDER");
        m_session = std::make_unique<Session>(SettingsStore(m_home->filePath(QStringLiteral("settings.ini"))));
        m_prompts = std::make_unique<Prompt::ScriptedPrompts>();
        m_beforeQuestion = nullptr;
    }
};
