#include "platform/runtime_error.hpp"

#include <new>
#include <utility>

namespace brindle::platform {

RuntimeError::RuntimeError(ErrorNumber number, std::string description)
    : number_(number), description_(std::move(description)) {}

void RaiseOverflow() {
    throw RuntimeError(ErrorNumber::Overflow, "Overflow");
}

void RaiseControlCallFailed(std::string_view control, std::string_view call) {
    std::string description = "Control call failed: ";
    description += call;
    description += " of ";
    description += control;
    throw RuntimeError(ErrorNumber::ControlCallFailed, std::move(description));
}

RuntimeError CurrentRuntimeError() noexcept {
    // Building a description may itself run out of memory; the fixed texts below are the fallback
    // and are short enough for the small-string buffer, so they never allocate.
    try {
        throw;
    } catch (const RuntimeError& error) {
        try {
            return error;
        } catch (...) {
            return {error.Number(), std::string()};
        }
    } catch (const std::bad_alloc&) {
        return {ErrorNumber::OutOfMemory, "Out of memory"};
    } catch (...) {
        return {ErrorNumber::Internal, "Internal error"};
    }
}

} // namespace brindle::platform
