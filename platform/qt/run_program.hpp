#pragma once

#include "platform/program.hpp"

namespace brindle::platform::qt {

// platform::RunProgram (platform/run_program.hpp) on Qt. Command-line arguments do not reach Qt;
// its environment variables (QT_QPA_PLATFORM and the like) still do.

// The same start-up, returning as soon as the window is on screen: for measuring start-up time.
int RunProgramUntilShown(const ProgramRecord& program);

class QtWindow;

// The part of the run that follows start-up: raises the window's load event, shows it and
// delivers its events until it is closed. Returns the event loop's exit code.
int RunWindow(QtWindow& window, EventTarget& logic);

} // namespace brindle::platform::qt
