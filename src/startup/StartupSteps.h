#pragma once

#include <QString>

#include <functional>

class Session;
struct DatabaseProblem;

// The part of start-up that needs no window: language, the database (provisioned
// when missing), schema upgrade and the active sheet.
enum class SessionOutcome {
    Ready,     // the main window may open
    Ended,     // no usable database: the user was told (and offered another folder when none opened)
};

// The language of the texts from the stored choice or the locale, and the help file.
void applyLanguage(Session &session, const QString &localeLanguageCode);

// beforeTelling runs before the first message to the user (the splash hides then).
SessionOutcome prepareSession(Session &session, const QString &localeLanguageCode,
                              const std::function<void()> &beforeTelling = {});

// A plain sentence, in the user's language, naming the file and what is wrong.
QString describeDatabaseProblem(const DatabaseProblem &problem);

// The stored database folder when it can be one (an absolute path to a folder
// that exists); otherwise the default folder.
QString usableDatabaseFolder(const QString &stored, const QString &defaultFolder);
