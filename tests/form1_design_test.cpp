// The design table the program builds Form1 from, compared field by field with the window layout
// as written out independently in expected_form1.hpp.

#include "app/program_record.hpp"
#include "expected_form1.hpp"

#include <string>

#include <gtest/gtest.h>

namespace brindle::testing {
namespace {

using platform::ControlDesign;

std::string Flags(const platform::ControlStyle& style) {
    std::string flags;
    const auto add = [&](bool set, const char* name) {
        if (set) {
            flags += flags.empty() ? "" : " ";
            flags += name;
        }
    };
    add(style.selected_at_start, "selected_at_start");
    add(style.sizes_to_caption, "sizes_to_caption");
    add(style.word_wrap, "word_wrap");
    add(style.single_border, "single_border");
    add(style.centred, "centred");
    add(style.shows_result, "shows_result");
    return flags;
}

TEST(Form1Design, IsTheWindowAsLaidOut) {
    const platform::WindowDesign& design = app::BrindleWindowDesign();
    EXPECT_EQ(design.name, kExpectedWindowName);
    EXPECT_EQ(design.caption, kExpectedWindowCaption);
    EXPECT_EQ(design.client_width, kExpectedClientWidth);
    EXPECT_EQ(design.client_height, kExpectedClientHeight);
    ASSERT_EQ(design.controls.size(), kExpectedControls.size());
    for (std::size_t i = 0; i < kExpectedControls.size(); ++i) {
        const ExpectedControl& expected = kExpectedControls[i];
        const ControlDesign& actual = design.controls[i];
        SCOPED_TRACE(std::string(expected.name));
        EXPECT_EQ(actual.kind, expected.kind);
        EXPECT_EQ(actual.name, expected.name);
        EXPECT_EQ(actual.caption, expected.caption);
        EXPECT_EQ(actual.place.left, expected.left);
        EXPECT_EQ(actual.place.top, expected.top);
        EXPECT_EQ(actual.place.width, expected.width);
        EXPECT_EQ(actual.place.height, expected.height);
        EXPECT_EQ(actual.tab_index, expected.tab_index);
        EXPECT_EQ(Flags(actual.style), Flags(expected.style));
        EXPECT_EQ(actual.accessible_name, expected.accessible_name);
        EXPECT_EQ(actual.caption_for, expected.caption_for);
    }
}

} // namespace
} // namespace brindle::testing
