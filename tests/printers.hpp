#pragma once

#include "platform/events.hpp"
#include "platform/runtime_error.hpp"

#include <ostream>

// Readable failure messages for the platform's value types.
namespace brindle::platform {

inline void PrintTo(ErrorNumber number, std::ostream* out) {
    *out << "error " << static_cast<int>(number);
}

inline void PrintTo(const EventSource& event, std::ostream* out) {
    constexpr const char* kKinds[] = {"Load", "Change", "Click"};
    *out << event.control << '_' << kKinds[static_cast<int>(event.kind)];
}

} // namespace brindle::platform
