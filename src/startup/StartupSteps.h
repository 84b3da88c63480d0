#pragma once

#include "platform/Prompts.h"

#include <QDateTime>
#include <QString>

#include <functional>

class Session;
struct DatabaseProblem;

// The part of start-up that needs no window: language, the database folder and
// file (checked before anything writes, provisioned when missing), schema
// upgrade and the active sheet.
enum class SessionOutcome {
    Ready,     // the main window may open
    Ended,     // no usable database: the user was told, or chose Quit
};

// The language of the texts from the stored choice or the locale, and the help file.
void applyLanguage(Session &session, const QString &localeLanguageCode);

// beforeTelling runs before every question to the user (the splash closes then).
SessionOutcome prepareSession(Session &session, const QString &localeLanguageCode,
                              const std::function<void()> &beforeTelling = {});

// A plain sentence, in the user's language, naming the file or folder and what is wrong.
QString describeDatabaseProblem(const DatabaseProblem &problem);

// Where the copy of a database is kept before it is repaired: beside it, named
// for the moment, never an existing file.
QString repairCopyPath(const QString &databasePath, const QDateTime &now);

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

private:
    void clearTheWay();

    Prompt::Prompts &m_inner;
    std::function<void()> m_before;
};
