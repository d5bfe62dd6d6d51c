#include "platform/conversions.hpp"
#include "platform/runtime_error.hpp"
#include "printers.hpp"

#include <cmath>
#include <limits>
#include <string>

#include <gtest/gtest.h>

namespace brindle::platform {
namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();

struct ReadCase {
    const char* text;
    double value;
};

TEST(LeadingNumber, ReadsTheNumberAtTheStartAndIgnoresTheRest) {
    const ReadCase cases[] = {
        // No number at all.
        {"", 0.0},
        {"   ", 0.0},
        {"abc", 0.0},
        {"abc12", 0.0},
        {".", 0.0},
        {"-.", 0.0},
        {"+", 0.0},
        {"-", 0.0},
        {"--1", 0.0},
        {"+-1", 0.0},
        {"e5", 0.0},
        // Plain numbers, signs, leading blanks.
        {"5", 5.0},
        {"37", 37.0},
        {"00012", 12.0},
        {"+5", 5.0},
        {"-2", -2.0},
        {"  \t 37", 37.0},
        {"\t-1.5", -1.5},
        // Only spaces and tabs are skipped.
        {"\n5", 0.0},
        {"\r5", 0.0},
        {"\xC2\xA0"
         "5",
         0.0}, // no-break space
        // Fractions: the full stop on either side of the digits, never a comma.
        {"1.5", 1.5},
        {".5", 0.5},
        {"5.", 5.0},
        {"-.25", -0.25},
        {"1,5", 1.0},
        {"1..2", 1.0},
        {"1.2.3", 1.2},
        // Exponents only with a digit after them.
        {"1e3", 1000.0},
        {"1E3", 1000.0},
        {"2.5e1x", 25.0},
        {"1e-2", 0.01},
        {"1e+2", 100.0},
        {".5e1", 5.0},
        {"5.e1", 50.0},
        {"1e", 1.0},
        {"1e+", 1.0},
        {"1e-", 1.0},
        {"1ex", 1.0},
        {"1e1.5", 10.0},
        {"1d2", 1.0},
        // Reading stops at the first character that cannot continue the number.
        {"12abc", 12.0},
        {"1 2", 1.0},
        {"1_000", 1.0},
        {"5 days", 5.0},
        // No radix prefixes, infinities or NaNs.
        {"0x1A", 0.0},
        {"0b11", 0.0},
        {"&H10", 0.0},
        {"inf", 0.0},
        {"-inf", 0.0},
        {"infinity", 0.0},
        {"nan", 0.0},
        {"NaN", 0.0},
        {"0x1p3", 0.0},
        // Non-ASCII digits are not digits.
        {"\xEF\xBC\x95", 0.0}, // fullwidth five
        // Beyond the double range: an infinity of the number's sign; too small: zero.
        {"1e400", kInfinity},
        {"-1e400", -kInfinity},
        {"1000e306", kInfinity},
        {"0.001e311", 1e308},
        {"1e-400", 0.0},
        {"123456789e-340", 0.0},
        {"0e999999999999999999999", 0.0},
        {"1e99999999999999999999999999999", kInfinity},
        {"1e-99999999999999999999999999999", 0.0},
        {"1e-310", 1e-310}, // subnormal, still representable
        {"1.7976931348623157e308", std::numeric_limits<double>::max()},
    };
    for (const auto& [text, value] : cases) {
        EXPECT_EQ(LeadingNumber(text), value) << '"' << text << '"';
    }
}

TEST(LeadingNumber, KeepsTheSignOfZero) {
    EXPECT_TRUE(std::signbit(LeadingNumber("-0")));
    EXPECT_TRUE(std::signbit(LeadingNumber("-1e-400")));
    EXPECT_FALSE(std::signbit(LeadingNumber("1e-400")));
}

TEST(LeadingNumber, ReadsAMegabyteOfDigits) {
    const std::string ones(1'000'000, '1');
    EXPECT_EQ(LeadingNumber(ones), kInfinity);
    EXPECT_EQ(LeadingNumber("-" + ones), -kInfinity);
    EXPECT_DOUBLE_EQ(LeadingNumber("0." + std::string(1'000'000, '3')), 1.0 / 3.0);
    EXPECT_EQ(LeadingNumber("0." + std::string(1'000'000, '0') + "1"), 0.0);
    // A huge count of leading zeros must not be mistaken for a huge number.
    EXPECT_EQ(LeadingNumber(std::string(1'000'000, '0') + "7"), 7.0);
    EXPECT_EQ(LeadingNumber("1e" + std::string(1'000'000, '9')), kInfinity);
    EXPECT_EQ(LeadingNumber(ones + "e-1000400"), 0.0);
    EXPECT_DOUBLE_EQ(LeadingNumber(ones + "e-999999"), 1.1111111111111111);
}

struct FormatCase {
    float value;
    const char* text;
};

TEST(FormatFixed, RoundsTheShortestDecimalHalfAwayFromZero) {
    const FormatCase cases[] = {
        {0.0F, "0.00"},
        {34.154915F, "34.15"},
        {34974.633F, "34974.63"},
        {3.5485625F, "3.55"},
        {3633.728F, "3633.73"},
        {1.0F, "1.00"},
        {0.5F, "0.50"},
        {12.3F, "12.30"},
        // Ties go away from zero, decided on the shortest decimal: 2.675f is 2.67499995... in
        // binary, and a second rounding of that binary value would give 2.67.
        {0.125F, "0.13"},
        {0.375F, "0.38"},
        {2.675F, "2.68"},
        {1.005F, "1.01"},
        {1.115F, "1.12"},
        {0.015F, "0.02"},
        {123456.785F, "123456.78"}, // the nearest float reads back as 123456.78
        // Carries through every digit.
        {9.995F, "10.00"},
        {99.999F, "100.00"},
        {9999.995F, "10000.00"},
        // Around half a hundredth.
        {0.005F, "0.01"},
        {0.0051F, "0.01"},
        {0.006F, "0.01"},
        {0.0049999F, "0.00"},
        {0.001F, "0.00"},
        {std::numeric_limits<float>::denorm_min(), "0.00"},
        // Signs: never a negative zero.
        {-7.097125F, "-7.10"},
        {-7267.456F, "-7267.46"},
        {-0.125F, "-0.13"},
        {-0.005F, "-0.01"},
        {-0.004F, "0.00"},
        {-0.0F, "0.00"},
        {-std::numeric_limits<float>::denorm_min(), "0.00"},
        // Large figures print every digit, with no exponent or grouping.
        {1e10F, "10000000000.00"},
        {16777217.0F, "16777216.00"},
        {3.1691263e29F, "316912630000000000000000000000.00"},
        {std::numeric_limits<float>::max(), "340282350000000000000000000000000000000.00"},
        {-std::numeric_limits<float>::max(), "-340282350000000000000000000000000000000.00"},
    };
    for (const auto& [value, text] : cases) {
        EXPECT_EQ(FormatFixed(value, "."), text) << value;
    }
}

TEST(FormatFixed, UsesTheGivenSeparator) {
    EXPECT_EQ(FormatFixed(34.154915F, ","), "34,15");
    EXPECT_EQ(FormatFixed(-0.125F, ","), "-0,13");
    EXPECT_EQ(FormatFixed(1e10F, ","), "10000000000,00");
    EXPECT_EQ(FormatFixed(2.5F, "\xD9\xAB"), "2\xD9\xAB"
                                             "50"); // Arabic decimal separator
}

TEST(FormatFixed, RefusesNonFiniteValues) {
    for (const float value :
         {std::numeric_limits<float>::infinity(), -std::numeric_limits<float>::infinity(),
          std::numeric_limits<float>::quiet_NaN()}) {
        try {
            static_cast<void>(FormatFixed(value, "."));
            ADD_FAILURE() << value << " was formatted";
        } catch (const RuntimeError& error) {
            EXPECT_EQ(error.Number(), ErrorNumber::Overflow);
        }
    }
}

TEST(WholeNumberText, WritesDigitsWithASignOnlyWhenNegative) {
    EXPECT_EQ(WholeNumberText(5), "5");
    EXPECT_EQ(WholeNumberText(37), "37");
    EXPECT_EQ(WholeNumberText(0), "0");
    EXPECT_EQ(WholeNumberText(32767), "32767");
    EXPECT_EQ(WholeNumberText(-32768), "-32768");
}

} // namespace
} // namespace brindle::platform
