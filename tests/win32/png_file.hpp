#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace brindle::testing {

// A picture as 0xRRGGBB pixels, row by row from the top.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;

    [[nodiscard]] std::uint32_t At(int x, int y) const {
        return pixels[static_cast<std::size_t>(y * width + x)];
    }
};

// PNG files through Windows' own imaging component, on a thread where COM is started: empty (or
// false) where it cannot.
[[nodiscard]] Picture ReadPng(const std::wstring& path);
bool WritePng(const std::wstring& path, const Picture& picture);

} // namespace brindle::testing
