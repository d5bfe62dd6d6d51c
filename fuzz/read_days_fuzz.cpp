// Reads arbitrary bytes as a day box's text. Besides crashes and undefined behaviour, it checks the
// reader against the C library's strtod in the "C" locale, which follows the same grammar for every
// text whose number does not start with a hexadecimal prefix, "inf" or "nan", and which blanks
// other than spaces and tabs do not precede.

#include "engine/figure_text.hpp"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

bool StrtodAgreesOnGrammar(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return true;
    }
    std::string_view rest = text.substr(first);
    if (rest.front() == '+' || rest.front() == '-') {
        rest.remove_prefix(1);
    }
    const auto is_digit = [](char c) { return c >= '0' && c <= '9'; };
    if (rest.empty()) {
        return true;
    }
    if (rest.size() >= 2 && rest[0] == '0' && (rest[1] == 'x' || rest[1] == 'X')) {
        return false;
    }
    return is_digit(rest.front()) || rest.front() == '.';
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const double days = brindle::engine::ReadDays(text);
    if (std::isnan(days)) {
        std::abort();
    }
    // The embedded NUL would end strtod's text early but not ours.
    if (text.find('\0') == std::string::npos && StrtodAgreesOnGrammar(text)) {
        const double expected = std::strtod(text.c_str(), nullptr);
        if (days != expected || std::signbit(days) != std::signbit(expected)) {
            std::abort();
        }
    }
    // Whatever follows a complete number never changes it.
    if (brindle::engine::ReadDays(text + "x") != days && !std::isnan(days)) {
        std::abort();
    }
    return 0;
}
