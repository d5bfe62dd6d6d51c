#pragma once

#include "platform/win32/accessible_properties.hpp"
#include "platform/win32/com.hpp"
#include "platform/win32/jaws_speech.hpp"
#include "platform/window_core.hpp"

#include <optional>
#include <string>
#include <windows.h>

struct IRawElementProviderSimple;

namespace brindle::platform::win32 {

// UI Automation's notification event (Windows 10 version 1709), which Narrator and NVDA speak,
// and what a window needs to be the element that raises it. Looked up at run time: a program that
// imported them would not start on older systems.
struct UiaNotifications {
    using HostProvider = HRESULT(WINAPI*)(HWND, IRawElementProviderSimple**);
    using ReturnProvider = LRESULT(WINAPI*)(HWND, WPARAM, LPARAM, IRawElementProviderSimple*);
    using Raise = HRESULT(WINAPI*)(IRawElementProviderSimple*, int kind, int processing,
                                   wchar_t* text, wchar_t* activity);

    HostProvider host_provider = nullptr;
    ReturnProvider return_provider = nullptr;
    Raise raise = nullptr;

    // The system's, or none where it lacks them.
    [[nodiscard]] static UiaNotifications Find() noexcept;
    [[nodiscard]] bool Available() const noexcept {
        return host_provider != nullptr && return_provider != nullptr && raise != nullptr;
    }
};

class AnnouncerElement;

// How the window speaks to screen readers without taking the focus from where the user is typing:
// a one-pixel static at the window's corner that draws nothing, takes no clicks and is no tab
// stop, whose text is the newest message. It has real bounds because UI Automation takes an
// element without them for one nobody can see, and Narrator then says nothing.
//
// Where UI Automation notifications exist, the static is a UI Automation element of its own (it
// answers WM_GETOBJECT with it) and each message is raised as a notification on that element, so
// that readers find its sender in the tree. Elsewhere the static is a live region, whose change
// Narrator (from Windows 8) and NVDA read. Never both, or a reader would speak twice. JAWS, which
// listens to neither, is handed each message besides while it runs.
class Announcer {
public:
    Announcer(HWND window, HINSTANCE instance, const AccessibleProperties& properties);
    Announcer(const Announcer&) = delete;
    Announcer& operator=(const Announcer&) = delete;
    ~Announcer();

    void Say(std::wstring message, Announcement when);
    // For tests: the notification functions to use, as if the system had (or lacked) them.
    void UseNotifications(UiaNotifications notifications) noexcept {
        notifications_ = notifications;
    }
    [[nodiscard]] HWND Handle() const noexcept { return static_; }

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam,
                                      UINT_PTR subclass, DWORD_PTR self) noexcept;
    LRESULT Answer(UINT message, WPARAM wparam, LPARAM lparam);
    void Show(const std::wstring& message, Announcement urgency);
    // Looked up at the first message or question: a window nobody listens to loads no UI
    // Automation.
    const UiaNotifications& Notifications() noexcept;
    [[nodiscard]] IRawElementProviderSimple* Element();

    HWND static_;
    const AccessibleProperties* properties_;
    std::optional<UiaNotifications> notifications_;
    ComApartment com_;                 // before the element, which is released first
    ComRef<AnnouncerElement> element_; // made when UI Automation first needs it
    bool element_handed_out_ = false;
    JawsSpeech jaws_;
    std::wstring waiting_;
};

} // namespace brindle::platform::win32
