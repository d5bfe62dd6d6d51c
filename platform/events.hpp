#pragma once

#include "platform/runtime_error.hpp"

#include <string_view>

namespace brindle::platform {

enum class EventKind { Load, Change, Click };

// Which control raised which event. `control` is the control's design name (the window's own
// name for its load event) and refers to the design's storage.
struct EventSource {
    std::string_view control;
    EventKind kind = EventKind::Change;

    friend bool operator==(const EventSource&, const EventSource&) = default;
};

// The window logic: receives every event of its window and runs the handler bound to it, if any.
// The run routine owns it through this interface.
class EventTarget {
public:
    EventTarget() = default;
    EventTarget(const EventTarget&) = delete;
    EventTarget& operator=(const EventTarget&) = delete;
    virtual ~EventTarget() = default;

    virtual void Handle(const EventSource& event) = 0;
};

// Told how each event ended, once its outermost handler has returned. The window core shows a
// failure to the user and clears that display when a later event completes.
class EventReporter {
public:
    virtual void EventFailed(const EventSource& event, const RuntimeError& error) noexcept = 0;
    virtual void EventCompleted(const EventSource& event) noexcept = 0;

protected:
    ~EventReporter() = default;
};

} // namespace brindle::platform
