#include "platform/error_colour.hpp"

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

} // namespace
} // namespace brindle::platform
