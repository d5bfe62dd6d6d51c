#pragma once

#include "platform/design.hpp"

namespace brindle::window {

// The calculator window as data: its caption, client size and its twelve controls. Every backend
// builds the window from this one description.
[[nodiscard]] const platform::WindowDesign& Form1Design();

} // namespace brindle::window
