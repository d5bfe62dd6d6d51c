#pragma once

#include <QApplication>
#include <QtGlobal>
#include <exception>
#include <new>
#include <utility>

namespace brindle::platform::qt {

// A failure no user action explains is a fault of this program: it is logged as critical, which
// fails the tests (their message handler fails the running test on any critical message).
inline void ReportFault(const std::exception_ptr& fault) noexcept {
    try {
        std::rethrow_exception(fault);
    } catch (const std::exception& error) {
        qCritical("brindledsc: unexpected failure in a toolkit call: %s", error.what());
    } catch (...) {
        qCritical("brindledsc: unexpected failure in a toolkit call");
    }
}

// Runs what the toolkit called us for. Qt cannot unwind an exception through its own frames, so a
// failure is caught at the boundary and the user hears the beep every failed action gives. Running
// out of memory for a huge text is the failure a user can cause; any other is also reported as a
// fault.
template <class Work>
void Guarded(Work&& work) noexcept {
    try {
        std::forward<Work>(work)();
    } catch (const std::bad_alloc&) {
        QApplication::beep();
    } catch (...) {
        ReportFault(std::current_exception());
        QApplication::beep();
    }
}

// The same for a query: what `work` answers, or `fallback` when it fails.
template <class Result, class Work>
[[nodiscard]] Result GuardedOr(Result fallback, Work&& work) noexcept {
    try {
        return std::forward<Work>(work)();
    } catch (const std::bad_alloc&) {
        return fallback;
    } catch (...) {
        ReportFault(std::current_exception());
        return fallback;
    }
}

} // namespace brindle::platform::qt
