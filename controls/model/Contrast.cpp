#include "controls/model/Contrast.h"

#include <algorithm>
#include <cmath>

namespace Contrast {

namespace {

constexpr quint32 kBlack = 0x000000;
constexpr quint32 kWhite = 0xFFFFFF;

double channel(quint32 rgb, int shift)
{
    const double c = double((rgb >> shift) & 0xFF) / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

int mixChannel(quint32 from, quint32 to, int shift, double t)
{
    const double a = double((from >> shift) & 0xFF);
    const double b = double((to >> shift) & 0xFF);
    return std::clamp(int(std::lround(a + (b - a) * t)), 0, 255);
}

quint32 mix(quint32 from, quint32 to, double t)
{
    return quint32(mixChannel(from, to, 16, t)) << 16 | quint32(mixChannel(from, to, 8, t)) << 8 |
           quint32(mixChannel(from, to, 0, t));
}

} // namespace

double luminance(quint32 rgb)
{
    return 0.2126 * channel(rgb, 16) + 0.7152 * channel(rgb, 8) + 0.0722 * channel(rgb, 0);
}

double ratio(quint32 a, quint32 b)
{
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

quint32 readableOn(quint32 background, quint32 wanted, double minRatio)
{
    background &= kWhite;
    wanted &= kWhite;
    if (ratio(background, wanted) >= minRatio)
        return wanted;
    const quint32 pole = ratio(background, kBlack) >= ratio(background, kWhite) ? kBlack : kWhite;
    // Twenty steps are fine enough to stay near the wanted colour, and the last is the pole.
    constexpr int kSteps = 20;
    for (int step = 1; step < kSteps; ++step) {
        const quint32 moved = mix(wanted, pole, double(step) / kSteps);
        if (ratio(background, moved) >= minRatio)
            return moved;
    }
    return pole;
}

} // namespace Contrast
