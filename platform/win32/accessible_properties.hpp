#pragma once

#include <string_view>
#include <windows.h>

struct IAccPropServices;

namespace brindle::platform::win32 {

// How urgently a screen reader should speak a live region's change.
enum class LiveSetting { Polite = 1, Assertive = 2 };

// What assistive technology reads of a window beyond what the standard controls say themselves,
// kept by Windows' accessibility property service (oleacc) for the window's standard accessible
// object. The service, and COM on the calling thread, are started when first needed, after which
// they last as long as the object; a window that never needs them (no error, no announcement)
// never starts them. Where the service is missing or refuses, the window simply says no more than
// its controls do.
class AccessibleProperties {
public:
    AccessibleProperties() = default;
    AccessibleProperties(const AccessibleProperties&) = delete;
    AccessibleProperties& operator=(const AccessibleProperties&) = delete;
    ~AccessibleProperties();

    // The description read beside a window's name; empty for none. Whether the service kept it.
    bool Describe(HWND window, std::wstring_view description) const noexcept;
    bool SetLiveSetting(HWND window, LiveSetting setting) const noexcept;

private:
    [[nodiscard]] IAccPropServices* Service() const noexcept;

    mutable bool tried_ = false;
    mutable bool com_started_ = false;
    mutable IAccPropServices* service_ = nullptr; // released with the object
};

} // namespace brindle::platform::win32
