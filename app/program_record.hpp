#pragma once

#include "platform/program.hpp"

namespace brindle::app {

// BrindleDSC as the platform's run routine starts it.
[[nodiscard]] platform::ProgramRecord BrindleProgram();

} // namespace brindle::app
