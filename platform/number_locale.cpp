#include "platform/number_locale.hpp"

#include <algorithm>
#include <string>

namespace brindle::platform {
namespace {

constexpr std::string_view kProgramDecimalSeparator = ".";

std::string& Separator() {
    static std::string separator(kProgramDecimalSeparator);
    return separator;
}

bool IsUsableSeparator(std::string_view separator) {
    return !separator.empty() && std::none_of(separator.begin(), separator.end(), [](char c) {
        return (c >= '0' && c <= '9') || c == '-' || c == '+';
    });
}

} // namespace

std::string_view DecimalSeparator() noexcept {
    return Separator();
}

void SetDecimalSeparator(std::string_view separator) {
    Separator() = IsUsableSeparator(separator) ? separator : kProgramDecimalSeparator;
}

} // namespace brindle::platform
