#include "platform/win32/drawing_surface.hpp"

namespace brindle::platform::win32 {

DrawingSurface::DrawingSurface(HDC like, int width, int height, COLORREF background)
    : dc_(CreateCompatibleDC(like)), width_(width), height_(height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (dc_ == nullptr || bitmap_ == nullptr) {
        return;
    }
    pixels_ = static_cast<std::uint32_t*>(bits);
    previous_ = SelectObject(dc_, bitmap_);
    HBRUSH const brush = CreateSolidBrush(background);
    const RECT all{0, 0, width, height};
    FillRect(dc_, &all, brush);
    DeleteObject(brush);
}

DrawingSurface::~DrawingSurface() {
    if (previous_ != nullptr) {
        SelectObject(dc_, previous_);
    }
    if (bitmap_ != nullptr) {
        DeleteObject(bitmap_);
    }
    if (dc_ != nullptr) {
        DeleteDC(dc_);
    }
}

std::span<const std::uint32_t> DrawingSurface::Pixels() const {
    if (pixels_ == nullptr) {
        return {};
    }
    GdiFlush();
    const std::span<std::uint32_t> pixels(pixels_, static_cast<std::size_t>(width_ * height_));
    for (std::uint32_t& pixel : pixels) {
        pixel &= 0xFFFFFFU; // the fourth byte is not a colour
    }
    return pixels;
}

} // namespace brindle::platform::win32
