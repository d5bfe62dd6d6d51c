#include "engine/figure_text.hpp"

#include "platform/conversions.hpp"
#include "platform/number_locale.hpp"

namespace brindle::engine {
namespace {

constexpr std::string_view kMegabytePrefix = "GB - (";
constexpr std::string_view kMegabyteSuffix = " MB)";

} // namespace

DayCount ReadDays(std::string_view text) noexcept {
    return platform::LeadingNumber(text);
}

std::string DayText(std::int16_t days) {
    return platform::WholeNumberText(days);
}

std::string FormatFigure(ByteFigure value) {
    return platform::FormatFixed(value, platform::DecimalSeparator());
}

std::string GigabyteCaption(ByteFigure gigabytes) {
    return FormatFigure(gigabytes);
}

std::string MegabyteCaption(ByteFigure megabytes) {
    std::string caption(kMegabytePrefix);
    caption += FormatFigure(megabytes);
    caption += kMegabyteSuffix;
    return caption;
}

} // namespace brindle::engine
