#pragma once

#include "platform/program.hpp"

namespace brindle::platform::qt {

// Starts the toolkit, creates the program's window from its design, runs its load event, shows
// it and delivers its events until it is closed; then ends the process. Command-line arguments
// are not the program's: none reach the toolkit either (its environment variables still do).
[[noreturn]] void RunProgram(const ProgramRecord& program);

// The same start-up, returning as soon as the window is on screen: for measuring start-up time.
int RunProgramUntilShown(const ProgramRecord& program);

class QtWindow;

// The part of the run that follows start-up: raises the window's load event, shows it and
// delivers its events until it is closed. Returns the event loop's exit code.
int RunWindow(QtWindow& window, EventTarget& logic);

} // namespace brindle::platform::qt
