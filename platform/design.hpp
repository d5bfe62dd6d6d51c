#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

// A window described as data. Every backend builds its window from such a description, so the
// places, captions and tab order exist once.
namespace brindle::platform {

// Twips: 1440 to the inch; one line of the default dialog font is 195 twips high.
struct TwipsRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

enum class ControlKind { TextBox, OptionButton, Label };

struct ControlStyle {
    bool selected_at_start = false; // option buttons; all options of a window form one group
    bool sizes_to_caption = false;  // labels keep left and top and fit their width to the caption
    bool word_wrap = false; // with sizes_to_caption: wraps within the width, grows in height
    bool single_border = false;
    bool centred = false;
    bool shows_result = false; // greyed while the last event failed, so a stale figure is not read
};

struct ControlDesign {
    ControlKind kind = ControlKind::Label;
    std::string_view name{};
    std::string_view caption{}; // a label's caption, an option's text, a text box's initial text
    // What assistive technology calls a control whose caption does not name it (a text box is
    // named by the label beside it); empty where the caption serves.
    std::string_view accessible_name{};
    TwipsRect place{};
    int tab_index = 0;
    ControlStyle style{};
    // A label that captions another control names it here, so that assistive technology can tell
    // what the control is for; empty for other controls.
    std::string_view caption_for{};
};

struct WindowDesign {
    std::string_view name;
    std::string_view caption;
    int client_width = 0; // twips
    int client_height = 0;
    std::span<const ControlDesign> controls;
    // What assistive technology calls the window's one group of options (they exclude one
    // another, so each is announced as a choice within it).
    std::string_view option_group{};
    // What a screen reader hears while an error shows: beside each greyed result (`stale_note`),
    // after the error's reason (`figures_stale`), and when the next event clears it
    // (`error_cleared`, before the new result).
    struct ErrorWords {
        std::string_view stale_note;
        std::string_view figures_stale;
        std::string_view error_cleared;
    } error_words{};

    // The control of that name, or nullptr.
    [[nodiscard]] const ControlDesign* Find(std::string_view control_name) const noexcept;
    // Where the control of that name stands in `controls`, if the design has it.
    [[nodiscard]] std::optional<std::size_t> IndexOf(std::string_view control_name) const noexcept;
    // The same for a control the caller relies on having that kind. Asking for a control the
    // design does not have is a programming error: throws std::logic_error.
    [[nodiscard]] std::size_t IndexOf(std::string_view control_name, ControlKind kind) const;
    // Every control's index, in tab order: by tab index, then in the design's order.
    [[nodiscard]] std::vector<std::size_t> TabOrder() const;
};

} // namespace brindle::platform
