#pragma once

#include "platform/runtime_error.hpp"

#include <string>

namespace brindle::platform {

// What the user is told about an error that ended an event, beside the control that raised it.
[[nodiscard]] std::string ErrorReportText(const RuntimeError& error);

} // namespace brindle::platform
