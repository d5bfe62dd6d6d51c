#include "window/form1_design.hpp"

#include "app/identity.hpp"

#include <array>
#include <string>

namespace brindle::window {
namespace {

using platform::ControlDesign;
using platform::ControlKind;

// Places and sizes in twips from the top left of the client area. The design-time sizes of the
// self-sizing labels are those of their captions in the default dialog font.
constexpr std::array<ControlDesign, 12> kControls{{
    {ControlKind::TextBox,
     "txtCD",
     "",
     "Days at CD Quality",
     {120, 120, 495, 255},
     0,
     {.single_line = true}},
    {ControlKind::TextBox,
     "txtArchive",
     "",
     "Days at archive quality",
     {120, 540, 495, 255},
     1,
     {.single_line = true}},
    {ControlKind::OptionButton,
     "opt11kmono",
     "11 KHz mono",
     "",
     {720, 840, 1635, 255},
     2,
     {.selected_at_start = true}},
    {ControlKind::OptionButton, "opt11KStereo", "11 KHz stereo", "", {720, 1140, 1635, 255}, 3, {}},
    {ControlKind::OptionButton, "opt22kMono", "22 KHz mono", "", {720, 1440, 1635, 255}, 4, {}},
    {ControlKind::OptionButton, "opt22KStereo", "22 KHz Stereo", "", {720, 1740, 1635, 255}, 5, {}},
    {ControlKind::Label,
     "Label1",
     "Days at CD Quality",
     "",
     {720, 120, 1335, 195},
     6,
     {.sizes_to_caption = true}},
    {ControlKind::Label,
     "Label2",
     "Days at:",
     "",
     {720, 540, 585, 195},
     7,
     {.sizes_to_caption = true}},
    {ControlKind::Label,
     "Label3",
     "You will need:",
     "",
     {240, 2160, 990, 195},
     8,
     {.sizes_to_caption = true}},
    {ControlKind::Label,
     "lblResMB",
     "",
     "",
     {1320, 2160, 765, 255},
     9,
     {.single_border = true, .centred = true, .shows_result = true}},
    {ControlKind::Label,
     "lblextrares",
     "GB",
     "",
     {2160, 2160, 225, 195},
     10,
     {.sizes_to_caption = true, .shows_result = true}},
    {ControlKind::Label,
     "lblUsingcompression",
     "Using Intel/DMA 4:1 Compression",
     "",
     {2460, 1200, 1575, 390},
     11,
     {.sizes_to_caption = true, .word_wrap = true}},
}};

const std::string& Caption() {
    static const std::string caption =
        std::string(identity::kProductTitle) + " - by " + std::string(identity::kMaker);
    return caption;
}

} // namespace

const platform::WindowDesign& Form1Design() {
    static const platform::WindowDesign design{
        .name = "Form1",
        .caption = Caption(),
        .client_width = 4200,
        .client_height = 2520,
        .controls = kControls,
    };
    return design;
}

} // namespace brindle::window
