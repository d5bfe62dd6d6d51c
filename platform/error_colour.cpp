#include "platform/error_colour.hpp"

#include <algorithm>
#include <array>
#include <cmath>

namespace brindle::platform {
namespace {

double Linear(std::uint8_t channel) noexcept {
    const double value = channel / 255.0;
    return value <= 0.04045 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
}

double Luminance(Rgb colour) noexcept {
    return 0.2126 * Linear(colour.red) + 0.7152 * Linear(colour.green) +
           0.0722 * Linear(colour.blue);
}

// Reds from dark to light: the usual mark first, then the others in order of lightness.
constexpr std::array<Rgb, 9> kReds{{
    {0xC0, 0x00, 0x00},
    {0x80, 0x00, 0x00},
    {0xA0, 0x00, 0x00},
    {0xE0, 0x00, 0x00},
    {0xFF, 0x30, 0x30},
    {0xFF, 0x60, 0x60},
    {0xFF, 0x80, 0x80},
    {0xFF, 0xA0, 0xA0},
    {0xFF, 0xC0, 0xC0},
}};

} // namespace

double ContrastRatio(Rgb a, Rgb b) noexcept {
    const double lighter = std::max(Luminance(a), Luminance(b));
    const double darker = std::min(Luminance(a), Luminance(b));
    return (lighter + 0.05) / (darker + 0.05);
}

Rgb ErrorColour(Rgb window, Rgb base) noexcept {
    const auto worst = [&](Rgb red) {
        return std::min(ContrastRatio(red, window), ContrastRatio(red, base));
    };
    // The first red that stands out against both; where none does (a mid-grey theme), the one that
    // comes closest.
    Rgb best = kReds.front();
    for (const Rgb red : kReds) {
        if (worst(red) >= kIndicatorContrast) {
            return red;
        }
        if (worst(red) > worst(best)) {
            best = red;
        }
    }
    return best;
}

Rgb Subdued(Rgb foreground, Rgb background, std::initializer_list<Rgb> against,
            double ratio) noexcept {
    constexpr int kSteps = 64;
    const auto mix = [](std::uint8_t from, std::uint8_t to, int step) {
        return static_cast<std::uint8_t>((from * (kSteps - step) + to * step + kSteps / 2) /
                                         kSteps);
    };
    for (int step = 0; step < kSteps; ++step) {
        const Rgb colour{mix(background.red, foreground.red, step),
                         mix(background.green, foreground.green, step),
                         mix(background.blue, foreground.blue, step)};
        if (std::all_of(against.begin(), against.end(),
                        [&](Rgb other) { return ContrastRatio(colour, other) >= ratio; })) {
            return colour;
        }
    }
    return foreground;
}

} // namespace brindle::platform
