#pragma once

#include <QtGlobal>

class Session;

// The language menu's entries: index 0 "Automatic", 1 a separator, 2 to 6 the
// five languages; the index is the value stored as the language choice.
namespace LanguageMenu {

constexpr qint32 EntryCount = 7;
constexpr qint32 SeparatorIndex = 1;

// A click on entry index. When it changes the choice (a different, selectable
// entry): sets the session's choice, stores it as appset_intlang and tells the
// user to restart (text 1362, OK only); the texts on screen stay as they are
// until then. Returns whether the choice changed, so the caller moves the check mark.
bool choose(qint32 index, Session &session);

} // namespace LanguageMenu
