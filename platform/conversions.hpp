#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Text to number and number to text, exactly and independent of the C locale.
namespace brindle::platform {

// The number at the start of `text`, 0 when there is none. Leading spaces and tabs are skipped,
// then an optional sign, digits with at most one full stop (".5" and "5." count, "." alone does
// not), and an exponent e or E with an optional sign when at least one digit follows it. Reading
// stops at the first character that cannot continue the number. No radix prefixes, no blanks
// inside the number, no "inf" or "nan". A magnitude beyond double range reads as an infinity of
// the number's sign, a magnitude too small for it as a zero. Linear in the length of the text.
[[nodiscard]] double LeadingNumber(std::string_view text) noexcept;

// `value` in fixed-point notation with exactly two decimals: the shortest decimal that reads back
// as `value`, rounded to hundredths with halves away from zero. At least one digit before the
// separator, a minus sign only when the rounded figure is not zero, no grouping, no exponent.
// Raises the overflow run-time error for a value that is not finite.
[[nodiscard]] std::string FormatFixed(float value, std::string_view decimal_separator);

// The decimal text of a whole number: digits, and a minus sign for negative values.
[[nodiscard]] std::string WholeNumberText(std::int16_t value);

} // namespace brindle::platform
