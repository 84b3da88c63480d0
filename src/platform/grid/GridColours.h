#pragma once

#include <QtGlobal>

// Colour choices of the list that must stay readable under any palette, light or
// dark. Colours are 0xRRGGBB; contrast follows WCAG 2 (relative luminance).
namespace GridColours {

// The least contrast body text keeps against its background.
constexpr double MinimumContrast = 4.5;

double relativeLuminance(quint32 rgb);
// 1 (the same luminance) to 21 (black on white), whichever colour is lighter.
double contrastRatio(quint32 a, quint32 b);
// `text` when it reads well on `background`; otherwise the colour nearest to it on
// the way to black or white (the one that contrasts more) that does, so a dimmed
// text stays dimmer than the body text.
quint32 readableText(quint32 text, quint32 background);
// The overdue rows' background: the base colour tinted yellow, faintly on a light
// base (#FFFFEA on white), more on a dark one, so it shows in both.
quint32 expiredBackground(quint32 base);

} // namespace GridColours
