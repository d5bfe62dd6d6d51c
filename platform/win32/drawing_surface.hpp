#pragma once

#include <cstdint>
#include <span>
#include <windows.h>

namespace brindle::platform::win32 {

// A bitmap of 32-bit pixels, top row first, selected into a memory device context: somewhere to
// draw as a window would, and to read back what was drawn.
class DrawingSurface {
public:
    // Compatible with `like` (nullptr: the screen), filled with `background`.
    DrawingSurface(HDC like, int width, int height, COLORREF background);
    DrawingSurface(const DrawingSurface&) = delete;
    DrawingSurface& operator=(const DrawingSurface&) = delete;
    ~DrawingSurface();

    [[nodiscard]] HDC Get() const noexcept { return dc_; }
    // Every pixel as 0x00RRGGBB once what was drawn has reached the bitmap; none where the system
    // gave no bitmap.
    [[nodiscard]] std::span<const std::uint32_t> Pixels() const;
    [[nodiscard]] static COLORREF AsColour(std::uint32_t pixel) noexcept {
        return RGB((pixel >> 16) & 0xFFU, (pixel >> 8) & 0xFFU, pixel & 0xFFU);
    }

private:
    HDC dc_;
    int width_;
    int height_;
    HBITMAP bitmap_ = nullptr;
    std::uint32_t* pixels_ = nullptr; // the bitmap's own, released with it
    HGDIOBJ previous_ = nullptr;
};

} // namespace brindle::platform::win32
