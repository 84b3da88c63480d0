#pragma once

#include <QString>

class Session;

// The part of start-up that needs no window: language, the database (provisioned
// when missing), schema upgrade and the active sheet.
enum class SessionOutcome {
    Ready,     // the main window may open
    Ended,     // no usable database: the user was told (and offered another folder when none opened)
};

SessionOutcome prepareSession(Session &session, const QString &localeLanguageCode);
