#pragma once

#include "platform/Prompts.h"

#include <QString>

#include <functional>

class Session;

// What start-up asks the user while it looks for a usable database: the steps
// themselves are StartupSteps', which say what they found.
enum class SessionOutcome {
    Ready,     // the main window may open
    Ended,     // no usable database: the user was told, or chose Quit
};

// beforeTelling runs before every question to the user (the splash closes then).
// chooseServer asks for another register on a server when the one in use does
// not answer: it returns the register's name once stored, empty when cancelled.
SessionOutcome prepareSession(Session &session, const QString &localeLanguageCode,
                              const std::function<void()> &beforeTelling = {},
                              const std::function<QString()> &chooseServer = {});

// While it lives, every question first runs `before` (start-up closes its splash
// there, so that no message opens hidden under it), then goes to the prompts
// that were installed before it, which it puts back when it goes.
class PromptsAboveSplash final : public Prompt::Prompts
{
public:
    explicit PromptsAboveSplash(std::function<void()> before);
    ~PromptsAboveSplash() override;
    PromptsAboveSplash(const PromptsAboveSplash &) = delete;
    PromptsAboveSplash &operator=(const PromptsAboveSplash &) = delete;

    Prompt::Answer message(const QString &text, const QString &caption, Prompt::Icon icon, Prompt::Buttons buttons,
                           Prompt::Default defaultButton) override;
    QString input(const QString &prompt, const QString &caption, const QString &initial) override;
    QString chooseFolder(const QString &title) override;
    QString saveFile(const QString &caption, const QString &filter, const QString &suggested) override;
    int choice(const QString &text, const QString &caption, const QStringList &options) override;

private:
    void clearTheWay();

    Prompt::Prompts &m_inner;
    std::function<void()> m_before;
};
