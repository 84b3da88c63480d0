#pragma once

#include "startup/Language.h"

#include <QString>

// Every text the user sees, looked up by id in the five-language table. Like an
// installed translator, the language is one for the whole process: start-up sets
// it once from the user's choice or the locale, and it does not change until the
// next start.
namespace Texts {

void setLanguage(Language language);
Language language();

// The text of id in the current language; empty for an unknown id.
QString text(int id);
QString text(int id, Language language);
// Number of base ids in the table (every language holds them all).
int count();

} // namespace Texts
