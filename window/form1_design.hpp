#pragma once

#include "platform/design.hpp"

#include <string_view>

namespace brindle::window {

// The calculator window as data: its client size and its twelve controls, under the caption it is
// given (the program's title and maker belong to the program, not to the window). Every backend
// builds the window from this one description. The caption must outlive the design.
[[nodiscard]] platform::WindowDesign Form1Design(std::string_view caption);

} // namespace brindle::window
