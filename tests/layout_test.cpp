#include "platform/layout.hpp"

#include <array>
#include <vector>

#include <gtest/gtest.h>

namespace brindle::platform {
namespace {

TEST(TwipsScale, MapsFifteenTwipsToAPixelAtAThirteenPixelLine) {
    const TwipsScale reference(13);
    EXPECT_EQ(reference.ToPixels(4200), 280);
    EXPECT_EQ(reference.ToPixels(2520), 168);
    EXPECT_EQ(reference.ToPixels(195), 13);
    EXPECT_EQ(reference.ToPixels(7), 0); // 0.47 px
    EXPECT_EQ(reference.ToPixels(8), 1); // 0.53 px
    EXPECT_EQ(reference.ToPixels(-8), -1);
    const TwipsScale larger(19);
    EXPECT_EQ(larger.ToPixels(2520), 246); // 245.5 rounds up
    EXPECT_EQ(larger.ToPixels(TwipsRect{120, 540, 495, 255}), (PixelRect{12, 53, 48, 25}));
}

// Captions measured by a test: each control's natural size and wrapped height.
class FixedMeasure final : public CaptionMeasure {
public:
    explicit FixedMeasure(std::vector<PixelSize> natural, int wrapped_height = 0)
        : natural_(std::move(natural)), wrapped_height_(wrapped_height) {}
    PixelSize Natural(std::size_t control) const override { return natural_.at(control); }
    int WrappedHeight(std::size_t /*control*/, int /*width*/) const override {
        return wrapped_height_;
    }

private:
    std::vector<PixelSize> natural_;
    int wrapped_height_;
};

// A result row like the calculator's: a caption, a framed figure, a growing caption after it,
// and a wrapped note on another row.
constexpr std::array<ControlDesign, 5> kRow{{
    {ControlKind::Label, "caption", "", "", {240, 2160, 990, 195}, 0, {.sizes_to_caption = true}},
    {ControlKind::Label, "figure", "", "", {1320, 2160, 765, 255}, 1, {.single_border = true}},
    {ControlKind::Label, "unit", "", "", {2160, 2160, 225, 195}, 2, {.sizes_to_caption = true}},
    {ControlKind::Label,
     "note",
     "",
     "",
     {2460, 1200, 1575, 390},
     3,
     {.sizes_to_caption = true, .word_wrap = true}},
    {ControlKind::TextBox, "box", "", "", {120, 120, 495, 255}, 4, {}},
}};
const WindowDesign kWindow{"window", "", 4200, 2520, kRow};

TEST(LayOutWindow, KeepsTheDesignWhenEveryCaptionFits) {
    const FixedMeasure measure({{60, 13}, {30, 15}, {120, 13}, {100, 13}, {999, 999}}, 26);
    const WindowLayout layout = LayOutWindow(kWindow, TwipsScale(13), measure);
    EXPECT_EQ(layout.client, (PixelSize{280, 168}));
    EXPECT_EQ(layout.controls[0], (PixelRect{16, 144, 60, 13}));
    EXPECT_EQ(layout.controls[1], (PixelRect{88, 144, 51, 17}));
    EXPECT_EQ(layout.controls[2], (PixelRect{144, 144, 120, 13}));
    EXPECT_EQ(layout.controls[3], (PixelRect{164, 80, 105, 26}));
    EXPECT_EQ(layout.controls[4], (PixelRect{8, 8, 33, 17})); // text boxes are never measured
}

TEST(LayOutWindow, PushesTheRestOfARowPastACaptionThatOutgrewItsPlace) {
    const FixedMeasure measure({{80, 13}, {30, 15}, {120, 13}, {100, 13}, {0, 0}}, 26);
    const WindowLayout layout = LayOutWindow(kWindow, TwipsScale(13), measure);
    EXPECT_EQ(layout.controls[0].Right(), 96);
    EXPECT_EQ(layout.controls[1].x, 96 + 4); // a gap of 60 twips
    EXPECT_EQ(layout.controls[2].x, 151 + 4);
    EXPECT_EQ(layout.controls[3].x, 164); // another row: stays
    EXPECT_EQ(layout.client, (PixelSize{280, 168}));
}

TEST(LayOutWindow, WidensAFixedLabelAndTheWindowRatherThanCutAFigureOff) {
    const FixedMeasure measure({{60, 13}, {240, 15}, {300, 13}, {100, 13}, {0, 0}}, 26);
    const WindowLayout layout = LayOutWindow(kWindow, TwipsScale(13), measure);
    EXPECT_EQ(layout.controls[1], (PixelRect{88, 144, 240, 17}));
    EXPECT_EQ(layout.controls[2].x, 328 + 4);
    EXPECT_EQ(layout.client, (PixelSize{332 + 300 + 4, 168}));
}

// A changed caption keeps the layout only when it needs the very room the old one did; a wrapping
// label always lays the window out again.
TEST(LayoutStillHolds, OnlyWhenTheNewCaptionNeedsTheSameRoom) {
    const FixedMeasure measure({{60, 13}, {30, 15}, {120, 13}, {100, 13}, {0, 0}}, 26);
    const WindowLayout layout = LayOutWindow(kWindow, TwipsScale(13), measure);
    EXPECT_TRUE(LayoutStillHolds(layout, kWindow, 2, {120, 13}));
    EXPECT_FALSE(LayoutStillHolds(layout, kWindow, 2, {127, 13}));
    EXPECT_FALSE(LayoutStillHolds(layout, kWindow, 1, {30, 16}));
    EXPECT_FALSE(LayoutStillHolds(layout, kWindow, 3, {100, 13}));
}

} // namespace
} // namespace brindle::platform
