#pragma once

#include "platform/program.hpp"

#include <functional>

namespace brindle::platform::qt {

// platform::RunProgram (platform/run_program.hpp) on Qt. Command-line arguments do not reach Qt;
// its environment variables (QT_QPA_PLATFORM and the like) still do. The platform plugin is Qt's
// choice but on GNOME (platform_choice.hpp).

class QtWindow;

// The same start-up, returning as soon as the window is on screen, after `when_shown` (if given)
// has looked at it: for measuring start-up time and for testing what start-up sets up.
int RunProgramUntilShown(const ProgramRecord& program,
                         const std::function<void(QtWindow&)>& when_shown = {});

// The part of the run that follows start-up: raises the window's load event, shows it and
// delivers its events until it is closed. Returns the event loop's exit code.
int RunWindow(QtWindow& window, EventTarget& logic);

} // namespace brindle::platform::qt
