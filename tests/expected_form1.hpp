#pragma once

#include "platform/design.hpp"

#include <array>
#include <string_view>

// Form1 as the window layout prescribes it, written out here a second time on purpose: the
// design table the program builds from is compared with this, field by field, and the real
// windows are measured against it, so that a wrong caption, rectangle, tab index or style in the
// program's table fails a test instead of moving every test with it.
namespace brindle::testing {

struct ExpectedControl {
    platform::ControlKind kind;
    std::string_view name;
    std::string_view caption;
    int left;
    int top;
    int width;
    int height;
    int tab_index;
    platform::ControlStyle style;
    std::string_view accessible_name; // what a screen reader calls a box
    std::string_view caption_for;     // the control a caption label names
};

inline constexpr std::string_view kExpectedWindowName = "Form1";
inline constexpr std::string_view kExpectedWindowCaption = "Brindle DSC - by Brindle Audio Labs";
inline constexpr int kExpectedClientWidth = 4200;
inline constexpr int kExpectedClientHeight = 2520;

using enum platform::ControlKind;

// clang-format off
inline constexpr std::array<ExpectedControl, 12> kExpectedControls{{
    {TextBox,      "txtCD",        "",              120,  120,  495, 255, 0, {}, "Days at CD Quality", ""},
    {TextBox,      "txtArchive",   "",              120,  540,  495, 255, 1, {}, "Days at archive quality", ""},
    {OptionButton, "opt11kmono",   "11 KHz mono",   720,  840, 1635, 255, 2, {.selected_at_start = true}, "", ""},
    {OptionButton, "opt11KStereo", "11 KHz stereo", 720, 1140, 1635, 255, 3, {}, "", ""},
    {OptionButton, "opt22kMono",   "22 KHz mono",   720, 1440, 1635, 255, 4, {}, "", ""},
    {OptionButton, "opt22KStereo", "22 KHz Stereo", 720, 1740, 1635, 255, 5, {}, "", ""},
    {Label, "Label1", "Days at CD Quality", 720,  120, 1335, 195, 6, {.sizes_to_caption = true}, "", "txtCD"},
    {Label, "Label2", "Days at:",           720,  540,  585, 195, 7, {.sizes_to_caption = true}, "", "txtArchive"},
    {Label, "Label3", "You will need:",     240, 2160,  990, 195, 8, {.sizes_to_caption = true}, "", "lblResMB"},
    {Label, "lblResMB", "",                1320, 2160,  765, 255, 9, {.single_border = true, .centred = true, .shows_result = true}, "", ""},
    {Label, "lblextrares", "GB",           2160, 2160,  225, 195, 10, {.sizes_to_caption = true, .shows_result = true}, "", ""},
    {Label, "lblUsingcompression", "Using Intel/DMA 4:1 Compression",
                                           2460, 1200, 1575, 390, 11, {.sizes_to_caption = true, .word_wrap = true}, "", ""},
}};
// clang-format on

// The expected control of that name; the table has every name the tests ask for.
[[nodiscard]] constexpr const ExpectedControl& Expected(std::string_view name) {
    for (const ExpectedControl& control : kExpectedControls) {
        if (control.name == name) {
            return control;
        }
    }
    return kExpectedControls.front();
}

} // namespace brindle::testing
