#pragma once

#include "platform/events.hpp"

namespace brindle::platform::win32 {

class Win32Window;

// platform::RunProgram (platform/run_program.hpp) on Win32 ends with this: raises the window's
// load event, shows it and delivers its events through the dialog manager until it is closed.
// Returns the exit code the closing posted.
int RunWindow(Win32Window& window, EventTarget& logic);

} // namespace brindle::platform::win32
