#pragma once

#include "platform/win32/accessible_properties.hpp"
#include "platform/window_core.hpp"

#include <optional>
#include <string>
#include <windows.h>

struct IRawElementProviderSimple;

namespace brindle::platform::win32 {

// UI Automation's notification event (Windows 10 version 1709), which Narrator and NVDA speak
// whatever has the focus. Looked up at run time: a program that imported it would not start on
// older systems.
struct UiaNotifications {
    using HostProvider = HRESULT(WINAPI*)(HWND, IRawElementProviderSimple**);
    using Raise = HRESULT(WINAPI*)(IRawElementProviderSimple*, int kind, int processing,
                                   wchar_t* text, wchar_t* activity);

    HostProvider host_provider = nullptr;
    Raise raise = nullptr;

    // The system's, or none where it lacks them.
    [[nodiscard]] static UiaNotifications Find() noexcept;
    [[nodiscard]] bool Available() const noexcept {
        return host_provider != nullptr && raise != nullptr;
    }
};

// How the window speaks to screen readers without taking the focus from where the user is typing:
// a static control that draws nothing and whose text is the message. Where UI Automation
// notifications exist, each message is raised as one on it; elsewhere the static is a live region,
// whose change Narrator (from Windows 8) and NVDA read. Never both, or a reader would speak twice.
class Announcer {
public:
    static constexpr UINT_PTR kPauseTimer = 1;

    Announcer(HWND window, HINSTANCE instance, const AccessibleProperties& properties);
    Announcer(const Announcer&) = delete;
    Announcer& operator=(const Announcer&) = delete;
    ~Announcer() = default;

    void Say(std::wstring message, Announcement when);
    // For tests: the notification functions to use, as if the system had (or lacked) them.
    void UseNotifications(UiaNotifications notifications) noexcept {
        notifications_ = notifications;
    }
    [[nodiscard]] HWND Handle() const noexcept { return static_; }

private:
    static void CALLBACK PauseEnded(HWND window, UINT message, UINT_PTR timer, DWORD time) noexcept;
    void Show(const std::wstring& message, Announcement urgency);

    HWND static_;
    const AccessibleProperties* properties_;
    // Looked up at the first message: a window that says nothing loads no UI Automation.
    std::optional<UiaNotifications> notifications_;
    std::wstring waiting_;
};

} // namespace brindle::platform::win32
