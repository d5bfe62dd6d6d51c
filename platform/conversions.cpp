#include "platform/conversions.hpp"

#include "platform/runtime_error.hpp"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>

namespace brindle::platform {
namespace {

constexpr bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

std::size_t SkipDigits(std::string_view text, std::size_t pos) {
    while (pos < text.size() && IsDigit(text[pos])) {
        ++pos;
    }
    return pos;
}

// The pieces of a number found at the start of a text, as views into that text.
struct ScannedNumber {
    bool negative = false;
    std::string_view integer;  // digits before the full stop
    std::string_view fraction; // digits after it
    std::string_view exponent; // optional sign and digits; empty when there is no exponent
    std::string_view unsigned_text;
};

std::optional<ScannedNumber> ScanLeadingNumber(std::string_view text) {
    ScannedNumber number;
    std::size_t pos = text.find_first_not_of(" \t");
    if (pos == std::string_view::npos) {
        return std::nullopt;
    }
    if (text[pos] == '+' || text[pos] == '-') {
        number.negative = text[pos] == '-';
        ++pos;
    }
    const std::size_t begin = pos;
    pos = SkipDigits(text, pos);
    number.integer = text.substr(begin, pos - begin);
    if (pos < text.size() && text[pos] == '.') {
        const std::size_t fraction_begin = pos + 1;
        pos = SkipDigits(text, fraction_begin);
        number.fraction = text.substr(fraction_begin, pos - fraction_begin);
    }
    if (number.integer.empty() && number.fraction.empty()) {
        return std::nullopt;
    }
    if (pos < text.size() && (text[pos] == 'e' || text[pos] == 'E')) {
        const std::size_t exponent_begin = pos + 1;
        std::size_t digits_begin = exponent_begin;
        if (digits_begin < text.size() &&
            (text[digits_begin] == '+' || text[digits_begin] == '-')) {
            ++digits_begin;
        }
        const std::size_t exponent_end = SkipDigits(text, digits_begin);
        if (exponent_end > digits_begin) {
            number.exponent = text.substr(exponent_begin, exponent_end - exponent_begin);
            pos = exponent_end;
        }
    }
    number.unsigned_text = text.substr(begin, pos - begin);
    return number;
}

// An exponent's value, held within bounds no text can reach in a meaningful way, so that a
// thousand-digit exponent neither overflows nor loses its sign.
std::int64_t SaturatedExponent(std::string_view exponent) {
    constexpr std::int64_t kLimit = std::int64_t{1} << 50;
    bool negative = false;
    if (!exponent.empty() && (exponent.front() == '+' || exponent.front() == '-')) {
        negative = exponent.front() == '-';
        exponent.remove_prefix(1);
    }
    std::int64_t value = 0;
    for (const char digit : exponent) {
        value = std::min(kLimit, value * 10 + (digit - '0'));
    }
    return negative ? -value : value;
}

// Whether a number that double cannot hold is too large (rather than too small): decided by the
// power of ten of its first significant digit, which for such numbers is far from zero.
bool IsBeyondLargest(const ScannedNumber& number) {
    std::int64_t leading_power = 0;
    if (const auto first = number.integer.find_first_not_of('0'); first != std::string_view::npos) {
        leading_power = static_cast<std::int64_t>(number.integer.size() - first) - 1;
    } else if (const auto first_in_fraction = number.fraction.find_first_not_of('0');
               first_in_fraction != std::string_view::npos) {
        leading_power = -static_cast<std::int64_t>(first_in_fraction) - 1;
    } else {
        return false;
    }
    return leading_power + SaturatedExponent(number.exponent) > 0;
}

// Adds one unit in the last place of a string of decimal digits.
void IncrementDecimal(std::string& digits) {
    for (std::size_t place = digits.size(); place-- > 0;) {
        if (digits[place] != '9') {
            ++digits[place];
            return;
        }
        digits[place] = '0';
    }
    digits.insert(digits.begin(), '1');
}

} // namespace

double LeadingNumber(std::string_view text) noexcept {
    const std::optional<ScannedNumber> number = ScanLeadingNumber(text);
    if (!number) {
        return 0.0;
    }
    const std::string_view digits = number->unsigned_text;
    double magnitude = 0.0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(),
                                              magnitude, std::chars_format::general);
    if (error == std::errc::result_out_of_range) {
        magnitude = IsBeyondLargest(*number) ? std::numeric_limits<double>::infinity() : 0.0;
    } else if (error != std::errc{} || end != digits.data() + digits.size()) {
        // The scanner only passes on what from_chars accepts whole; anything else is a bug, and
        // reading no number is the answer that cannot mislead.
        return 0.0;
    }
    return number->negative ? -magnitude : magnitude;
}

std::string FormatFixed(float value, std::string_view decimal_separator) {
    if (!std::isfinite(value)) {
        RaiseOverflow();
    }
    // Scientific form gives the shortest round-trip digits with no padding: [-]d[.ddd]e(+|-)xx.
    std::array<char, 32> buffer{};
    const auto written = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                       std::chars_format::scientific);
    std::string_view scientific(buffer.data(),
                                static_cast<std::size_t>(written.ptr - buffer.data()));
    const bool negative = scientific.front() == '-';
    if (negative) {
        scientific.remove_prefix(1);
    }
    const std::size_t e = scientific.find('e');
    std::string digits(1, scientific.front());
    if (e > 1) {
        digits.append(scientific.substr(2, e - 2));
    }
    std::string_view exponent_text = scientific.substr(e + 1);
    if (exponent_text.front() == '+') {
        exponent_text.remove_prefix(1);
    }
    int exponent = 0;
    std::from_chars(exponent_text.data(), exponent_text.data() + exponent_text.size(), exponent);

    // The value in hundredths, as decimal digits: the leading digit stands for 10^exponent, so
    // exponent + 3 of the digits lie at or above the hundredths place, and the next one decides
    // the rounding. Everything happens on the decimal digits, so there is no second binary
    // rounding.
    const int kept = exponent + 3;
    std::string hundredths;
    if (kept >= static_cast<int>(digits.size())) {
        hundredths = digits;
        hundredths.append(static_cast<std::size_t>(kept) - digits.size(), '0');
    } else if (kept >= 0) {
        const auto cut = static_cast<std::size_t>(kept);
        hundredths = digits.substr(0, cut);
        if (digits[cut] >= '5') {
            IncrementDecimal(hundredths);
        }
    }
    if (hundredths.size() < 3) {
        hundredths.insert(0, 3 - hundredths.size(), '0');
    }

    const bool rounds_to_zero = hundredths.find_first_not_of('0') == std::string::npos;
    const std::size_t units = hundredths.size() - 2;
    std::string text;
    text.reserve(hundredths.size() + decimal_separator.size() + 1);
    if (negative && !rounds_to_zero) {
        text.push_back('-');
    }
    text.append(hundredths, 0, units);
    text.append(decimal_separator);
    text.append(hundredths, units);
    return text;
}

std::string WholeNumberText(std::int16_t value) {
    std::array<char, 8> buffer{};
    const auto written = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    return {buffer.data(), written.ptr};
}

} // namespace brindle::platform
