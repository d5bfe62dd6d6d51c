#include "engine/figure_text.hpp"
#include "platform/number_locale.hpp"

#include <string>

#include <gtest/gtest.h>

namespace brindle::engine {
namespace {

// Sets the user's decimal separator for one test and puts the previous one back.
class ScopedDecimalSeparator {
public:
    explicit ScopedDecimalSeparator(std::string_view separator)
        : previous_(platform::DecimalSeparator()) {
        platform::SetDecimalSeparator(separator);
    }
    ScopedDecimalSeparator(const ScopedDecimalSeparator&) = delete;
    ScopedDecimalSeparator& operator=(const ScopedDecimalSeparator&) = delete;
    ~ScopedDecimalSeparator() { platform::SetDecimalSeparator(previous_); }

private:
    std::string previous_;
};

struct CaptionCase {
    ByteFigure gigabytes;
    ByteFigure megabytes;
    const char* gigabyte_caption;
    const char* megabyte_caption;
};

TEST(Captions, ShowBothFiguresWithTwoDecimals) {
    const CaptionCase cases[] = {
        {34.154915F, 34974.633F, "34.15", "GB - (34974.63 MB)"},
        {0.0F, 0.0F, "0.00", "GB - (0.00 MB)"},
        {3.5485625F, 3633.728F, "3.55", "GB - (3633.73 MB)"},
        {-7.097125F, -7267.456F, "-7.10", "GB - (-7267.46 MB)"},
    };
    for (const auto& [gigabytes, megabytes, gigabyte_caption, megabyte_caption] : cases) {
        EXPECT_EQ(GigabyteCaption(gigabytes), gigabyte_caption);
        EXPECT_EQ(MegabyteCaption(megabytes), megabyte_caption);
    }
}

TEST(Captions, FollowTheUsersDecimalSeparator) {
    {
        const ScopedDecimalSeparator comma(",");
        EXPECT_EQ(GigabyteCaption(34.154915F), "34,15");
        EXPECT_EQ(MegabyteCaption(34974.633F), "GB - (34974,63 MB)");
    }
    EXPECT_EQ(GigabyteCaption(34.154915F), "34.15");
}

// Day boxes are read the same way whatever the user's separator: a comma never makes a fraction.
TEST(ReadDays, IgnoresTheUsersDecimalSeparator) {
    const ScopedDecimalSeparator comma(",");
    EXPECT_EQ(ReadDays("2.5"), 2.5);
    EXPECT_EQ(ReadDays("2,5"), 2.0);
}

TEST(DecimalSeparator, RefusesSeparatorsThatCouldBeReadAsPartOfANumber) {
    for (const char* unusable : {"", "5", "-", "+", "1,"}) {
        const ScopedDecimalSeparator odd(unusable);
        EXPECT_EQ(platform::DecimalSeparator(), ".") << '"' << unusable << '"';
    }
    const ScopedDecimalSeparator narrow_no_break("\xE2\x80\xAF");
    EXPECT_EQ(platform::DecimalSeparator(), "\xE2\x80\xAF");
}

TEST(DayText, WritesTheDefaults) {
    EXPECT_EQ(DayText(5), "5");
    EXPECT_EQ(DayText(37), "37");
}

} // namespace
} // namespace brindle::engine
