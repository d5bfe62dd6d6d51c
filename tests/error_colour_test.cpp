#include "platform/error_colour.hpp"

#include <algorithm>

#include <gtest/gtest.h>

namespace brindle::platform {
namespace {

struct ContrastCase {
    Rgb a;
    Rgb b;
    double ratio;
};

TEST(ContrastRatio, FollowsTheWcagFormula) {
    const ContrastCase cases[] = {
        {{0, 0, 0}, {255, 255, 255}, 21.0},
        {{255, 255, 255}, {0, 0, 0}, 21.0},
        {{0x77, 0x77, 0x77}, {0x77, 0x77, 0x77}, 1.0},
        {{0xC0, 0x00, 0x00}, {0xFF, 0xFF, 0xFF}, 6.48},
        {{0xC0, 0x00, 0x00}, {0x35, 0x35, 0x35}, 1.89},
        {{0xFF, 0x00, 0x00}, {0xFF, 0xFF, 0xFF}, 4.0},
    };
    for (const auto& [a, b, ratio] : cases) {
        EXPECT_NEAR(ContrastRatio(a, b), ratio, 0.01);
    }
}

struct Theme {
    const char* name;
    Rgb window;
    Rgb base;
};

// Light themes keep the usual dark red; dark ones get a red light enough to stand out against
// both the window and the text fields.
TEST(ErrorColour, StandsOutAtThreeToOneAgainstWindowAndFields) {
    const Theme themes[] = {
        {"Fusion light", {0xEF, 0xEF, 0xEF}, {0xFF, 0xFF, 0xFF}},
        {"white", {0xFF, 0xFF, 0xFF}, {0xFF, 0xFF, 0xFF}},
        {"Fusion dark", {0x35, 0x35, 0x35}, {0x2A, 0x2A, 0x2A}},
        {"black", {0x00, 0x00, 0x00}, {0x00, 0x00, 0x00}},
        {"dark window, light fields", {0x30, 0x30, 0x30}, {0xFF, 0xFF, 0xFF}},
        {"Windows classic", {0xD4, 0xD0, 0xC8}, {0xFF, 0xFF, 0xFF}},
    };
    for (const auto& [name, window, base] : themes) {
        const Rgb red = ErrorColour(window, base);
        EXPECT_GE(ContrastRatio(red, window), kIndicatorContrast) << name;
        EXPECT_GE(ContrastRatio(red, base), kIndicatorContrast) << name;
        EXPECT_GT(red.red, red.green) << name;
        EXPECT_EQ(red.green, red.blue) << name;
    }
    EXPECT_EQ(ErrorColour({0xEF, 0xEF, 0xEF}, {0xFF, 0xFF, 0xFF}), (Rgb{0xC0, 0x00, 0x00}));
}

// A mid-grey theme leaves no red at 3:1 against it; the mark takes the red that comes closest.
TEST(ErrorColour, TakesTheClosestRedWhereNoneStandsOutEnough) {
    const Rgb grey{0x80, 0x80, 0x80};
    const Rgb red = ErrorColour(grey, grey);
    const double best = ContrastRatio(red, grey);
    for (const Rgb other : {Rgb{0xC0, 0, 0}, Rgb{0x80, 0, 0}, Rgb{0xFF, 0xC0, 0xC0}}) {
        EXPECT_GE(best, ContrastRatio(other, grey));
    }
}

bool Between(std::uint8_t value, std::uint8_t a, std::uint8_t b) {
    return std::min(a, b) <= value && value <= std::max(a, b);
}

// Greyed figures and outlines: in every theme they stand out at 3:1 against what they must, and no
// more than a little beyond it, so that greyed text still reads as greyed beside normal text.
TEST(Subdued, IsTheQuietestMixThatStillStandsOutAtThreeToOne) {
    struct Case {
        const char* name;
        Rgb text;
        Rgb window;
        Rgb base;
    };
    const Case cases[] = {
        {"Fusion light", {0x00, 0x00, 0x00}, {0xEF, 0xEF, 0xEF}, {0xFF, 0xFF, 0xFF}},
        {"Fusion dark", {0xFF, 0xFF, 0xFF}, {0x35, 0x35, 0x35}, {0x2A, 0x2A, 0x2A}},
        {"high contrast black", {0xFF, 0xFF, 0xFF}, {0x00, 0x00, 0x00}, {0x00, 0x00, 0x00}},
        {"high contrast white", {0x00, 0x00, 0x00}, {0xFF, 0xFF, 0xFF}, {0xFF, 0xFF, 0xFF}},
        {"yellow on black", {0xFF, 0xFF, 0x00}, {0x00, 0x00, 0x00}, {0x00, 0x00, 0x00}},
        {"dark window, light fields", {0xFF, 0xFF, 0xFF}, {0x30, 0x30, 0x30}, {0xFF, 0xFF, 0xFF}},
    };
    for (const auto& [name, text, window, base] : cases) {
        const Rgb greyed = Subdued(text, window, {window}, kGreyedTextContrast);
        EXPECT_GE(ContrastRatio(greyed, window), kGreyedTextContrast) << name;
        EXPECT_LT(ContrastRatio(greyed, window), kGreyedTextContrast + 0.4) << name;
        EXPECT_LT(ContrastRatio(greyed, window), ContrastRatio(text, window)) << name;
        EXPECT_TRUE(Between(greyed.red, text.red, window.red) &&
                    Between(greyed.green, text.green, window.green) &&
                    Between(greyed.blue, text.blue, window.blue))
            << name;

        const Rgb outline = Subdued(text, window, {window, base});
        EXPECT_GE(std::min(ContrastRatio(outline, window), ContrastRatio(outline, base)),
                  kIndicatorContrast)
            << name;
    }
    // Where no mix stands out, the foreground is the best there is.
    const Rgb grey{0x80, 0x80, 0x80};
    const Rgb light{0xA0, 0xA0, 0xA0};
    EXPECT_EQ(Subdued(light, grey, {grey}), light);
}

} // namespace
} // namespace brindle::platform
