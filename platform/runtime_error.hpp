#pragma once

#include <exception>
#include <string>
#include <string_view>

namespace brindle::platform {

// Numbers of the run-time errors this program can raise. Arithmetic faults keep the number users
// of this kind of calculator know; the rest are our own.
enum class ErrorNumber : int {
    Overflow = 6,
    OutOfMemory = 7,
    Internal = 51,
    ControlCallFailed = 1001,
};

// The one error that handlers raise. It unwinds the running handler and every handler that called
// it, and is reported where the event began (see EventDelivery).
class RuntimeError : public std::exception {
public:
    RuntimeError(ErrorNumber number, std::string description);

    [[nodiscard]] ErrorNumber Number() const noexcept { return number_; }
    [[nodiscard]] const std::string& Description() const noexcept { return description_; }
    [[nodiscard]] const char* what() const noexcept override { return description_.c_str(); }

private:
    ErrorNumber number_;
    std::string description_;
};

// An arithmetic step produced a figure that is not finite (overflow or an invalid operation).
[[noreturn]] void RaiseOverflow();

// A property call on a control failed; `call` says which, for the report.
[[noreturn]] void RaiseControlCallFailed(std::string_view control, std::string_view call);

// The error in flight, as the run-time error it stands for. Only for use inside a catch block:
// whatever escaped a handler (including std::bad_alloc or a library exception) becomes a
// RuntimeError so that the top of the event can report it and carry on.
[[nodiscard]] RuntimeError CurrentRuntimeError() noexcept;

} // namespace brindle::platform
