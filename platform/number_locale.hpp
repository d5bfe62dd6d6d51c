#pragma once

#include <string_view>

// The user's number conventions, taken from the desktop once at start-up by the backend that runs
// the window. Until a backend sets them, numbers are written the way the program's own locale
// (English, United States) writes them.
namespace brindle::platform {

[[nodiscard]] std::string_view DecimalSeparator() noexcept;

// An empty separator, or one that could be read as part of a number (a digit or a sign), would
// make figures ambiguous; such a value is refused and "." is kept instead.
void SetDecimalSeparator(std::string_view separator);

} // namespace brindle::platform
