#pragma once

#include "startup/Texts.h"

#include <QtGlobal>

#include <array>
#include <utility>

// The texts' length is what makes a window grow: the five languages by code.
inline std::array<std::pair<const char *, Language>, 5> languages()
{
    return {{{"it", Language::Italian}, {"en", Language::English}, {"fr", Language::French},
             {"es", Language::Spanish}, {"de", Language::German}}};
}

// The texts of one language while a window is built, English again afterwards.
struct LanguageScope
{
    explicit LanguageScope(Language language) { Texts::setLanguage(language); }
    ~LanguageScope() { Texts::setLanguage(Language::English); }
};

// Called from initMain. Offscreen, the screen is then 800x500: a 1600x1000
// screen at twice the scale.
inline void useSmallScreen()
{
    if (qEnvironmentVariable("QT_QPA_PLATFORM") == QLatin1String("offscreen"))
        qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" SMALL_SCREEN_CONFIG);
}
