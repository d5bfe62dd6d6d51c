#pragma once

#include "engine/estimate.hpp"

#include <cstdint>
#include <string>
#include <string_view>

// The boundary between the window's texts and the estimate's numbers.
namespace brindle::engine {

// The number of days a day box's text stands for: the number it starts with, read with a full
// stop as the decimal point whatever the locale; 0 for empty or non-numeric text. Never fails.
[[nodiscard]] DayCount ReadDays(std::string_view text) noexcept;

// The decimal text of a whole number of days, for the window's defaults.
[[nodiscard]] std::string DayText(std::int16_t days);

// A figure with two decimals and the user's decimal separator.
[[nodiscard]] std::string FormatFigure(ByteFigure value);

// The whole caption of the gigabyte label, and of the megabyte label beside it.
[[nodiscard]] std::string GigabyteCaption(ByteFigure gigabytes);
[[nodiscard]] std::string MegabyteCaption(ByteFigure megabytes);

} // namespace brindle::engine
