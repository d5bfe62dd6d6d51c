// Formats arbitrary single-precision values. Every finite value must give -?[0-9]+<sep>[0-9][0-9]
// that reads back within half a hundredth of the value (plus the half unit in the last place by
// which the shortest decimal may differ from it); no "-0.00", no superfluous leading zero, and the
// separator must be the only thing a different locale changes. Non-finite values must raise the
// overflow run-time error.

#include "engine/figure_text.hpp"
#include "platform/number_locale.hpp"
#include "platform/runtime_error.hpp"

#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>
#include <string_view>

namespace {

void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

bool MatchesShape(std::string_view text, std::string_view separator) {
    if (!text.empty() && text.front() == '-') {
        text.remove_prefix(1);
    }
    const std::size_t at = text.find(separator);
    if (at == std::string_view::npos || at == 0) {
        return false;
    }
    const std::string_view units = text.substr(0, at);
    const std::string_view hundredths = text.substr(at + separator.size());
    const auto all_digits = [](std::string_view digits) {
        return digits.find_first_not_of("0123456789") == std::string_view::npos;
    };
    return all_digits(units) && hundredths.size() == 2 && all_digits(hundredths) &&
           (units.size() == 1 || units.front() != '0');
}

std::string Formatted(float value, std::string_view separator) {
    brindle::platform::SetDecimalSeparator(separator);
    return brindle::engine::FormatFigure(value);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    float value = 0.0F;
    if (size < sizeof value) {
        return 0;
    }
    std::memcpy(&value, data, sizeof value);

    if (!std::isfinite(value)) {
        try {
            static_cast<void>(Formatted(value, "."));
        } catch (const brindle::platform::RuntimeError& error) {
            Require(error.Number() == brindle::platform::ErrorNumber::Overflow);
            return 0;
        }
        std::abort();
    }

    const std::string text = Formatted(value, ".");
    Require(MatchesShape(text, "."));
    Require(text != "-0.00");

    double read_back = 0.0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), read_back);
    Require(error == std::errc{} && end == text.data() + text.size());
    const double exact = static_cast<double>(value);
    // The shortest decimal lies within half the spacing of floats around the value; take the
    // wider side (the largest float has no finite neighbour above, and it is not a power of two).
    const float magnitude = std::fabs(value);
    const float below = std::nextafter(magnitude, 0.0F);
    const float above = std::nextafter(magnitude, std::numeric_limits<float>::infinity());
    const double spacing = std::isfinite(above)
                               ? static_cast<double>(above) - static_cast<double>(magnitude)
                               : static_cast<double>(magnitude) - static_cast<double>(below);
    const double half_ulp = spacing / 2.0;
    Require(std::fabs(read_back - exact) <= 0.005 + half_ulp + std::fabs(exact) * 1e-15);

    std::string comma = Formatted(value, ",");
    Require(MatchesShape(comma, ","));
    comma[comma.find(',')] = '.';
    Require(comma == text);
    return 0;
}
