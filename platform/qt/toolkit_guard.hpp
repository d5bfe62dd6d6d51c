#pragma once

#include <QApplication>
#include <utility>

namespace brindle::platform::qt {

// Runs what the toolkit called us for. Qt cannot unwind an exception through its own frames, so
// a failure here (running out of memory for a huge text, in practice) is caught at the boundary:
// the user hears the beep every failed action gives, and the toolkit carries on.
template <class Work>
void Guarded(Work&& work) noexcept {
    try {
        std::forward<Work>(work)();
    } catch (...) {
        QApplication::beep();
    }
}

// The same for a query: what `work` answers, or `fallback` when it fails.
template <class Result, class Work>
[[nodiscard]] Result GuardedOr(Result fallback, Work&& work) noexcept {
    try {
        return std::forward<Work>(work)();
    } catch (...) {
        return fallback;
    }
}

} // namespace brindle::platform::qt
