#pragma once

#include <QtGlobal>
#include <algorithm>
#include <climits>

// What the text box's source files share.
namespace brindle::platform::qt::text_box_limits {

// The most characters laid out at once: more than any box shows, few enough to cost nothing.
inline constexpr qsizetype kShownLimit = 1024;

// Offsets handed to interfaces that count in int; a text longer than that is reported capped.
[[nodiscard]] inline int ToInt(qsizetype value) {
    return static_cast<int>(std::clamp<qsizetype>(value, INT_MIN, INT_MAX));
}

} // namespace brindle::platform::qt::text_box_limits
