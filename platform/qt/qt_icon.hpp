#pragma once

#include "platform/indexed_image.hpp"

#include <QIcon>
#include <QImage>
#include <span>

namespace brindle::platform::qt {

// The image with its palette colours and transparent pixels, as 32-bit ARGB.
[[nodiscard]] QImage ToQImage(const IndexedImage& image);

// All sizes of an icon, so that the desktop can pick the one it needs.
[[nodiscard]] QIcon ToQIcon(std::span<const IndexedImage> images);

} // namespace brindle::platform::qt
