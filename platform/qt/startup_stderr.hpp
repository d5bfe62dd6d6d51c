#pragma once

#include <string_view>

namespace brindle::platform::qt {

// Holds back what is written straight to standard error while it lives: the display libraries
// under Qt's platform plugins (libwayland-client, libxcb) print their own complaints there,
// outside Qt's message handler. On the normal path, what was held is passed on when the capture
// ends; a start-up that fails says its one line instead and drops the rest.
class StartupStderr {
public:
    StartupStderr() noexcept;
    StartupStderr(const StartupStderr&) = delete;
    StartupStderr& operator=(const StartupStderr&) = delete;
    ~StartupStderr();

    // Writes `line` to the real standard error and drops what was held.
    void WriteOnly(std::string_view line) const noexcept;

private:
    int held_ = -1;  // an unnamed scratch file that stands in for standard error
    int saved_ = -1; // the real standard error, or -1 when nothing is held back
};

} // namespace brindle::platform::qt
