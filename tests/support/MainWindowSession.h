#pragma once

#include "TestDatabase.h"

#include "platform/Clock.h"
#include "platform/Pauses.h"
#include "platform/Prompts.h"
#include "startup/ResourceText.h"
#include "startup/Setting.h"
#include "startup/mainmod.h"

#include <QDate>
#include <QTemporaryDir>

// What a main-window test starts from: a settings file and a copy of the template
// database in a temporary folder, English texts, no pauses, a pinned "today" and
// scripted answers to every question.
class MainWindowSession final
{
public:
    explicit MainWindowSession(const QDate &today)
    {
        mainmod::resetShared();
        mainmod::SettingsFile = m_dir.filePath(QStringLiteral("settings.ini"));
        mainmod::LanguageBase = English;
        mainmod::ConnectionString = m_dir.isValid() ? copyTemplateTo(m_dir.path()) : QString();
        mainmod::ActiveSheetId = 1;
        mainmod::ActiveSheetName = QStringLiteral("Deadlines");
        Pauses::setScale(0);
        Clock::pin(today);
    }
    ~MainWindowSession()
    {
        Clock::pin(QDate());
        mainmod::SettingsFile = QString();
    }
    MainWindowSession(const MainWindowSession &) = delete;
    MainWindowSession &operator=(const MainWindowSession &) = delete;

    bool ok() const { return !mainmod::ConnectionString.isEmpty(); }
    Prompt::ScriptedPrompts &prompts() { return m_prompts; }

private:
    QTemporaryDir m_dir;
    Prompt::ScriptedPrompts m_prompts;
};
