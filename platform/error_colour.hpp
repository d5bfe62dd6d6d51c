#pragma once

#include <cstdint>
#include <initializer_list>

// Colours chosen against the theme in use: the colour that marks a control whose event failed,
// and the quieter colours of figures that are out of date and of controls' outlines. Each must
// stand out at 3:1 or more (WCAG's contrast ratio) against what surrounds it, which a fixed
// colour, or a theme's own disabled text, does not do in every theme.
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
// Greyed text aims higher than an outline: the edges of its antialiased strokes are lighter than
// its colour, and the strokes themselves must still reach 3:1.
inline constexpr double kGreyedTextContrast = 3.5;

// The red for error marks on a window of colour `window` with text fields of colour `base`: the
// usual dark red where it contrasts enough with both, otherwise the red of the lightness that
// contrasts most with the darker of the two.
[[nodiscard]] Rgb ErrorColour(Rgb window, Rgb base) noexcept;

// The colour between `background` and `foreground` that is nearest the background while it still
// stands out at `ratio` against each of `against`: text that reads as greyed but can still be
// read, or an outline that is no louder than it needs to be. Where no mix does, the foreground.
[[nodiscard]] Rgb Subdued(Rgb foreground, Rgb background, std::initializer_list<Rgb> against,
                          double ratio = kIndicatorContrast) noexcept;

} // namespace brindle::platform
