#pragma once

#include "platform/controls.hpp"
#include "platform/design.hpp"
#include "platform/events.hpp"
#include "platform/indexed_image.hpp"

#include <functional>
#include <memory>
#include <span>
#include <string_view>

namespace brindle::platform {

// What start-up hands the platform's run routine: the program's identity, its one window and the
// logic behind it, and its icon. The run routine creates the window, raises its load event, shows
// it and delivers its events until it is closed, then ends the process.
struct ProgramRecord {
    std::string_view name;
    std::string_view executable; // the command's name, as messages on standard error begin
    std::string_view version;
    std::string_view maker;
    std::string_view desktop_id; // the desktop entry's name, without ".desktop"
    const WindowDesign& startup_window;
    // Creates the window's logic once its controls exist.
    std::function<std::unique_ptr<EventTarget>(ControlSet&)> create_logic;
    std::span<const IndexedImage> icon;
};

} // namespace brindle::platform
