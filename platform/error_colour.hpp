#pragma once

#include <cstdint>

// The colour that marks a control whose event failed. A mark is a non-text indicator, so it must
// stand out at 3:1 or more (WCAG's contrast ratio) against what surrounds it; a fixed red does not
// on a dark theme. The red is chosen against the colours in use.
namespace brindle::platform {

struct Rgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

// WCAG 2 contrast ratio of two colours, from 1 (the same) to 21 (black and white).
[[nodiscard]] double ContrastRatio(Rgb a, Rgb b) noexcept;

inline constexpr double kIndicatorContrast = 3.0;

// The red for error marks on a window of colour `window` with text fields of colour `base`: the
// usual dark red where it contrasts enough with both, otherwise the red of the lightness that
// contrasts most with the darker of the two.
[[nodiscard]] Rgb ErrorColour(Rgb window, Rgb base) noexcept;

} // namespace brindle::platform
