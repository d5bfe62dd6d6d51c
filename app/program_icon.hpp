#pragma once

#include "platform/indexed_image.hpp"

#include <span>

namespace brindle::app {

// The program's icon at 16, 32 and 48 pixels square, smallest first. It is also the window's icon.
[[nodiscard]] std::span<const platform::IndexedImage> ProgramIcon() noexcept;

} // namespace brindle::app
