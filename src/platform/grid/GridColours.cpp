#include "platform/grid/GridColours.h"

#include <algorithm>
#include <cmath>

namespace {

double channel(quint32 rgb, int shift)
{
    const double c = double((rgb >> shift) & 0xff) / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

quint32 mix(quint32 from, quint32 to, double amount)
{
    quint32 out = 0;
    for (int shift : {16, 8, 0}) {
        const double a = double((from >> shift) & 0xff);
        const double b = double((to >> shift) & 0xff);
        out |= quint32(std::lround(a + (b - a) * amount)) << shift;
    }
    return out;
}

} // namespace

double GridColours::relativeLuminance(quint32 rgb)
{
    return 0.2126 * channel(rgb, 16) + 0.7152 * channel(rgb, 8) + 0.0722 * channel(rgb, 0);
}

double GridColours::contrastRatio(quint32 a, quint32 b)
{
    const double la = relativeLuminance(a);
    const double lb = relativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

quint32 GridColours::readableText(quint32 text, quint32 background)
{
    if (contrastRatio(text, background) >= MinimumContrast)
        return text;
    const quint32 black = 0x000000;
    const quint32 white = 0xffffff;
    const quint32 extreme = contrastRatio(black, background) >= contrastRatio(white, background) ? black : white;
    // A little past the minimum: the edges of antialiased letters never reach the pen.
    const double target = MinimumContrast + 0.5;
    for (int step = 1; step < 32; ++step) {
        const quint32 nearer = mix(text, extreme, step / 32.0);
        if (contrastRatio(nearer, background) >= target)
            return nearer;
    }
    return extreme;
}

quint32 GridColours::expiredBackground(quint32 base)
{
    const quint32 yellow = 0xffff00;
    const bool light = relativeLuminance(base) > 0.5;
    return mix(base, yellow, light ? 21.0 / 255.0 : 0.16);
}
