#pragma once

#include "platform/twips.hpp"

namespace brindle::platform {

// The ring that marks the control whose event failed: this many pixels wide, just outside the
// control and painted by the window, so that the control keeps its own frame, padding and text
// exactly where they were.
inline constexpr int kMarkRingWidth = 2;

// The ring's outer edge around a control's rectangle; its inner edge is the control's own.
[[nodiscard]] constexpr PixelRect MarkRingAround(const PixelRect& control) noexcept {
    return {control.x - kMarkRingWidth, control.y - kMarkRingWidth,
            control.width + 2 * kMarkRingWidth, control.height + 2 * kMarkRingWidth};
}

} // namespace brindle::platform
