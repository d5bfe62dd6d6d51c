#pragma once

#include "platform/design.hpp"

namespace brindle::platform {

struct PixelRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    [[nodiscard]] int Right() const noexcept { return x + width; }
    [[nodiscard]] int Bottom() const noexcept { return y + height; }
    friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

// Maps twips to pixels through the default font, as dialog units do: one line of that font is
// 195 twips, so a layout designed in twips keeps its proportions with any font, size or screen
// scale. At 96 dpi with a 13-pixel line, 15 twips make one pixel.
class TwipsScale {
public:
    static constexpr int kTwipsPerLine = 195;

    // `line_height` is the height in pixels of one line of the window's font.
    explicit constexpr TwipsScale(int line_height) noexcept : line_height_(line_height) {}

    // Rounds to the nearest pixel, halves away from zero.
    [[nodiscard]] constexpr int ToPixels(int twips) const noexcept {
        const long long scaled = static_cast<long long>(twips) * line_height_;
        const long long half = kTwipsPerLine / 2;
        return static_cast<int>(scaled >= 0 ? (scaled + half) / kTwipsPerLine
                                            : (scaled - half) / kTwipsPerLine);
    }

    [[nodiscard]] constexpr PixelRect ToPixels(const TwipsRect& rect) const noexcept {
        return {ToPixels(rect.left), ToPixels(rect.top), ToPixels(rect.width),
                ToPixels(rect.height)};
    }

    [[nodiscard]] constexpr int LineHeight() const noexcept { return line_height_; }

private:
    int line_height_;
};

} // namespace brindle::platform
