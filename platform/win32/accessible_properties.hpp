#pragma once

#include "platform/win32/com.hpp"

#include <functional>
#include <string_view>
#include <utility>
#include <windows.h>

struct IAccPropServices;

namespace brindle::platform::win32 {

// What assistive technology reads of a window beyond what its standard control says itself.
enum class AccessibleProperty { Name, Description, LiveSetting };
// How urgently a screen reader should speak a live region's change.
enum class LiveSetting { Polite = 1, Assertive = 2 };

// Those properties, kept by Windows' accessibility property service (oleacc) for the window's
// standard accessible object, where MSAA clients and UI Automation's proxies for standard controls
// read them. The service, and COM on the calling thread, are started when first needed, after
// which they last as long as the object. Where the service is missing or refuses, the window
// simply says no more than its controls do.
class AccessibleProperties {
public:
    // Sees every value as it is handed to the service, whether or not the service keeps it (Wine's
    // keeps none): a live setting as "polite" or "assertive".
    using Watcher = std::function<void(HWND, AccessibleProperty, std::wstring_view)>;

    explicit AccessibleProperties(Watcher watcher = {});
    AccessibleProperties(const AccessibleProperties&) = delete;
    AccessibleProperties& operator=(const AccessibleProperties&) = delete;
    ~AccessibleProperties();

    // A window's name or description; empty clears it, and the standard object's own answer
    // stands again. Whether the service kept it.
    bool SetText(HWND window, AccessibleProperty property, std::wstring_view text) const noexcept;
    bool SetLiveSetting(HWND window, LiveSetting setting) const noexcept;

private:
    [[nodiscard]] IAccPropServices* Service() const noexcept;
    void Watched(HWND window, AccessibleProperty property, std::wstring_view text) const noexcept;

    Watcher watcher_;
    mutable bool tried_ = false;
    mutable ComApartment com_; // before the service, which is released first
    mutable ComRef<IAccPropServices> service_;
};

} // namespace brindle::platform::win32
