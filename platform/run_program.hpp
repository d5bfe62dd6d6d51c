#pragma once

#include "platform/program.hpp"

namespace brindle::platform {

// The platform's run routine, provided by whichever backend the program is linked with. Starts
// the toolkit, creates the program's window from its design, runs its load event, shows it and
// delivers its events until it is closed; then ends the process. Command-line arguments are not
// the program's: none reach the toolkit either.
[[noreturn]] void RunProgram(const ProgramRecord& program);

} // namespace brindle::platform
