#pragma once

#include "TestDatabase.h"

#include "platform/Clock.h"
#include "platform/Pauses.h"
#include "platform/Prompts.h"
#include "startup/Session.h"
#include "startup/Setting.h"
#include "startup/Texts.h"

#include <QDate>
#include <QTemporaryDir>

// What a main-window test starts from: a session with its own settings file and
// a copy of the template database in a temporary folder, English texts, no
// pauses, a pinned "today" and scripted answers to every question.
class MainWindowSession final
{
public:
    explicit MainWindowSession(const QDate &today)
        : m_session(SettingsStore(m_dir.filePath(QStringLiteral("settings.ini"))))
    {
        Texts::setLanguage(Language::English);
        m_session.setConnectionString(m_dir.isValid() ? copyTemplateTo(m_dir.path()) : QString());
        m_session.setActiveSheet(1, QStringLiteral("Deadlines"));
        Pauses::setScale(0);
        Clock::pin(today);
    }
    ~MainWindowSession() { Clock::pin(QDate()); }
    MainWindowSession(const MainWindowSession &) = delete;
    MainWindowSession &operator=(const MainWindowSession &) = delete;

    bool ok() const { return !m_session.connectionString().isEmpty(); }
    Session &session() { return m_session; }
    SettingsStore &settings() { return m_session.settings(); }
    QString connectionString() const { return m_session.connectionString(); }
    Prompt::ScriptedPrompts &prompts() { return m_prompts; }

private:
    QTemporaryDir m_dir;
    Session m_session;
    Prompt::ScriptedPrompts m_prompts;
};
