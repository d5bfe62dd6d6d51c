#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

// Small pictures held as text, one character a pixel, each naming a colour of the standard
// 16-colour palette or transparency. Reviewable in a diff, and every backend and packaging step
// builds its own format from the same rows.
namespace brindle::platform {

struct PaletteColour {
    std::uint8_t red;
    std::uint8_t green;
    std::uint8_t blue;
    friend bool operator==(const PaletteColour&, const PaletteColour&) = default;
};

// The standard 16-colour palette in its usual index order.
inline constexpr std::array<PaletteColour, 16> kStandardPalette{{
    {0, 0, 0},       // 0 black
    {128, 0, 0},     // 1 dark red
    {0, 128, 0},     // 2 dark green
    {128, 128, 0},   // 3 dark yellow
    {0, 0, 128},     // 4 dark blue
    {128, 0, 128},   // 5 dark magenta
    {0, 128, 128},   // 6 dark cyan
    {192, 192, 192}, // 7 light grey
    {128, 128, 128}, // 8 dark grey
    {255, 0, 0},     // 9 red
    {0, 255, 0},     // 10 green
    {255, 255, 0},   // 11 yellow
    {0, 0, 255},     // 12 blue
    {255, 0, 255},   // 13 magenta
    {0, 255, 255},   // 14 cyan
    {255, 255, 255}, // 15 white
}};

// The character of each palette index in an image's rows; '.' is transparent.
inline constexpr std::string_view kPaletteKeys = "0123456789ABCDEF";
inline constexpr char kTransparentKey = '.';

// The palette index a row character stands for; nullopt for transparency (or an unknown key).
[[nodiscard]] constexpr std::optional<std::uint8_t> PaletteIndex(char key) noexcept {
    const auto at = kPaletteKeys.find(key);
    if (at == std::string_view::npos) {
        return std::nullopt;
    }
    return static_cast<std::uint8_t>(at);
}

struct IndexedImage {
    int size = 0; // square: size rows of size characters
    std::span<const std::string_view> rows;
};

} // namespace brindle::platform
