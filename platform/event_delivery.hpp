#pragma once

#include "platform/events.hpp"

#include <concepts>
#include <exception>
#include <functional>
#include <utility>

namespace brindle::platform {

// Delivers a window's events to its logic, one at a time on the window's thread, and carries
// run-time errors the way handlers expect: an error leaves the handler that raised it and every
// handler that called it, and ends at the top of the event, where it is reported and the program
// carries on.
//
// Handlers nest through toolkit calls: a handler that sets a text box's text makes the toolkit
// raise the box's change event inside that call. Exceptions must not unwind through toolkit code,
// so a backend makes every such call through CallThrough. An error in the nested handler is
// caught where the toolkit raised the event, carried past the toolkit, and raised again from
// CallThrough inside the handler that made the call, which then unwinds as if nothing had stood
// between the two.
class EventDelivery {
public:
    explicit EventDelivery(EventReporter& reporter) noexcept : reporter_(reporter) {}
    EventDelivery(const EventDelivery&) = delete;
    EventDelivery& operator=(const EventDelivery&) = delete;
    ~EventDelivery() = default;

    // Until logic is attached, events are dropped, as they are while a window is being built.
    void Attach(EventTarget& target) noexcept { target_ = &target; }
    void Detach() noexcept { target_ = nullptr; }

    // The toolkit raised `event`. Never throws: this is where errors stop.
    void Raise(const EventSource& event) noexcept;

    // Runs `toolkit_call`, during which the toolkit may raise events, and raises again the first
    // error that a handler of those events raised. Once a handler has failed, further events of the
    // same call are not delivered: the handler that made the call is already on its way out.
    template <std::invocable Call>
    requires std::same_as < std::invoke_result_t<Call>,
    void > void CallThrough(Call&& toolkit_call) {
        OpenCall open(*this);
        try {
            std::invoke(std::forward<Call>(toolkit_call));
        } catch (...) {
            // The handler's error happened first; the toolkit call's own failure is its echo.
            open.RaiseCarried();
            throw;
        }
        open.RaiseCarried();
    }

private:
    class OpenCall {
    public:
        explicit OpenCall(EventDelivery& delivery) noexcept
            : delivery_(delivery), outer_(std::exchange(delivery.innermost_, this)) {}
        OpenCall(const OpenCall&) = delete;
        OpenCall& operator=(const OpenCall&) = delete;
        ~OpenCall() { delivery_.innermost_ = outer_; }

        void RaiseCarried() const {
            if (carried) {
                std::rethrow_exception(carried);
            }
        }

        std::exception_ptr carried;

    private:
        EventDelivery& delivery_;
        OpenCall* outer_;
    };

    EventReporter& reporter_;
    EventTarget* target_ = nullptr;
    OpenCall* innermost_ = nullptr;
};

} // namespace brindle::platform
