#include "platform/win32/announcer.hpp"

#include "platform/win32/system_function.hpp"

#include <chrono>
#include <stdexcept>
#include <uiautomationcore.h>

namespace brindle::platform::win32 {
namespace {

// The notification's kind and processing (UIAutomationCoreApi.h of the Windows 10 SDK). An error
// interrupts whatever is being said; a result replaces a result still queued.
constexpr int kActionCompleted = 2;
constexpr int kImportantMostRecent = 1;
constexpr int kMostRecent = 3;
// EVENT_OBJECT_LIVEREGIONCHANGED, from Windows 8 on; Windows 7 passes it on to whoever listens.
constexpr DWORD kLiveRegionChanged = 0x8019;

// A string a COM call takes and its callee does not keep.
class Bstr {
public:
    explicit Bstr(const std::wstring& text)
        : text_(SysAllocStringLen(text.data(), static_cast<UINT>(text.size()))) {}
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    ~Bstr() { SysFreeString(text_); }
    [[nodiscard]] BSTR Get() const noexcept { return text_; }

private:
    BSTR text_;
};

} // namespace

UiaNotifications UiaNotifications::Find() noexcept {
    // Loaded once and kept for the process: Windows 7 has the library, without the event.
    static HMODULE const core = LoadLibraryW(L"uiautomationcore.dll");
    if (core == nullptr) {
        return {};
    }
    return {SystemFunction<HostProvider>(core, "UiaHostProviderFromHwnd"),
            SystemFunction<Raise>(core, "UiaRaiseNotificationEvent")};
}

Announcer::Announcer(HWND window, HINSTANCE instance, const AccessibleProperties& properties)
    : static_(CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_NOPREFIX, 0, 0, 0, 0,
                              window, nullptr, instance, nullptr)),
      properties_(&properties) {
    if (static_ == nullptr) {
        throw std::runtime_error("cannot create the announcer");
    }
    SetWindowLongPtrW(static_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

void Announcer::Say(std::wstring message, Announcement when) {
    if (when == Announcement::Now) {
        KillTimer(static_, kPauseTimer);
        Show(message, when);
        return;
    }
    waiting_ = std::move(message);
    // Setting the timer again starts the pause again.
    SetTimer(static_, kPauseTimer, static_cast<UINT>(kAnnouncementPause.count()), &PauseEnded);
}

void CALLBACK Announcer::PauseEnded(HWND window, UINT /*message*/, UINT_PTR timer,
                                    DWORD /*time*/) noexcept {
    KillTimer(window, timer);
    auto* const self = reinterpret_cast<Announcer*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self != nullptr) {
        try {
            self->Show(self->waiting_, Announcement::AfterPause);
        } catch (...) {
            // Nothing is said; what the window shows is unchanged.
        }
    }
}

void Announcer::Show(const std::wstring& message, Announcement urgency) {
    // The static holds the newest message either way, for a reader that reads it or its events.
    SetWindowTextW(static_, message.c_str());
    if (!notifications_) {
        notifications_ = UiaNotifications::Find();
    }
    if (notifications_->Available()) {
        IRawElementProviderSimple* provider = nullptr;
        if (SUCCEEDED(notifications_->host_provider(static_, &provider)) && provider != nullptr) {
            const Bstr text(message);
            const Bstr activity(L"BrindleDSC.Estimate");
            notifications_->raise(provider, kActionCompleted,
                                  urgency == Announcement::Now ? kImportantMostRecent : kMostRecent,
                                  text.Get(), activity.Get());
            provider->Release();
        }
        return;
    }
    properties_->SetLiveSetting(static_, urgency == Announcement::Now ? LiveSetting::Assertive
                                                                      : LiveSetting::Polite);
    NotifyWinEvent(kLiveRegionChanged, static_, OBJID_CLIENT, CHILDID_SELF);
}

} // namespace brindle::platform::win32
