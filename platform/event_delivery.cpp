#include "platform/event_delivery.hpp"

namespace brindle::platform {

void EventDelivery::Raise(const EventSource& event) noexcept {
    if (target_ == nullptr) {
        return;
    }
    if (OpenCall* const open = innermost_; open != nullptr) {
        if (!open->carried) {
            try {
                target_->Handle(event);
            } catch (...) {
                open->carried = std::current_exception();
            }
        }
        return;
    }
    try {
        target_->Handle(event);
    } catch (...) {
        reporter_.EventFailed(event, CurrentRuntimeError());
        return;
    }
    reporter_.EventCompleted(event);
}

} // namespace brindle::platform
