#include "window/form1_design.hpp"

#include <array>

namespace brindle::window {
namespace {

using platform::ControlDesign;
using platform::ControlKind;

// Places and sizes in twips from the top left of the client area. The design-time sizes of the
// self-sizing labels are those of their captions in the default dialog font.
constexpr std::array<ControlDesign, 12> kControls{{
    {.kind = ControlKind::TextBox,
     .name = "txtCD",
     .accessible_name = "Days at CD Quality",
     .place = {120, 120, 495, 255},
     .tab_index = 0},
    {.kind = ControlKind::TextBox,
     .name = "txtArchive",
     .accessible_name = "Days at archive quality",
     .place = {120, 540, 495, 255},
     .tab_index = 1},
    {.kind = ControlKind::OptionButton,
     .name = "opt11kmono",
     .caption = "11 KHz mono",
     .place = {720, 840, 1635, 255},
     .tab_index = 2,
     .style = {.selected_at_start = true}},
    {.kind = ControlKind::OptionButton,
     .name = "opt11KStereo",
     .caption = "11 KHz stereo",
     .place = {720, 1140, 1635, 255},
     .tab_index = 3},
    {.kind = ControlKind::OptionButton,
     .name = "opt22kMono",
     .caption = "22 KHz mono",
     .place = {720, 1440, 1635, 255},
     .tab_index = 4},
    {.kind = ControlKind::OptionButton,
     .name = "opt22KStereo",
     .caption = "22 KHz Stereo",
     .place = {720, 1740, 1635, 255},
     .tab_index = 5},
    {.kind = ControlKind::Label,
     .name = "Label1",
     .caption = "Days at CD Quality",
     .place = {720, 120, 1335, 195},
     .tab_index = 6,
     .style = {.sizes_to_caption = true},
     .caption_for = "txtCD"},
    {.kind = ControlKind::Label,
     .name = "Label2",
     .caption = "Days at:",
     .place = {720, 540, 585, 195},
     .tab_index = 7,
     .style = {.sizes_to_caption = true},
     .caption_for = "txtArchive"},
    {.kind = ControlKind::Label,
     .name = "Label3",
     .caption = "You will need:",
     .place = {240, 2160, 990, 195},
     .tab_index = 8,
     .style = {.sizes_to_caption = true},
     .caption_for = "lblResMB"},
    {.kind = ControlKind::Label,
     .name = "lblResMB",
     .place = {1320, 2160, 765, 255},
     .tab_index = 9,
     .style = {.single_border = true, .centred = true, .shows_result = true}},
    {.kind = ControlKind::Label,
     .name = "lblextrares",
     .caption = "GB",
     .place = {2160, 2160, 225, 195},
     .tab_index = 10,
     .style = {.sizes_to_caption = true, .shows_result = true}},
    {.kind = ControlKind::Label,
     .name = "lblUsingcompression",
     .caption = "Using Intel/DMA 4:1 Compression",
     .place = {2460, 1200, 1575, 390},
     .tab_index = 11,
     .style = {.sizes_to_caption = true, .word_wrap = true}},
}};

} // namespace

platform::WindowDesign Form1Design(std::string_view caption) {
    return {
        .name = "Form1",
        .caption = caption,
        .client_width = 4200,
        .client_height = 2520,
        .controls = kControls,
        .option_group = "Archive quality",
        .error_words = {.stale_note = "out of date",
                        .figures_stale = "The figures shown are out of date.",
                        .error_cleared = "Error cleared."},
    };
}

} // namespace brindle::window
