#pragma once

#include "platform/program.hpp"

namespace brindle::app {

// BrindleDSC as the platform's run routine starts it.
[[nodiscard]] platform::ProgramRecord BrindleProgram();

// Form1 as this program shows it: captioned with the program's title and maker.
[[nodiscard]] const platform::WindowDesign& BrindleWindowDesign();

} // namespace brindle::app
