#include "platform/win32/announcer.hpp"

#include "platform/win32/system_function.hpp"
#include "platform/win32/win32_text.hpp"

#include <commctrl.h>
#include <stdexcept>
#include <uiautomationcore.h>

namespace brindle::platform::win32 {
namespace {

constexpr UINT_PTR kPauseTimer = 1;
constexpr UINT_PTR kSubclassId = 1;
// The notification's kind and processing (UIAutomationCoreApi.h of the Windows 10 SDK). A result
// replaces a result not yet said, and NVDA silences what it is saying for it. An error, and its
// clearing, is never dropped for a later message nor does it cut one short (NVDA silences its
// speech only for the MostRecent kinds): each is heard whole, whatever follows.
constexpr int kActionCompleted = 2;
constexpr int kImportantAll = 0;
constexpr int kMostRecent = 3;
// EVENT_OBJECT_LIVEREGIONCHANGED, from Windows 8 on; Windows 7 passes it on to whoever listens.
constexpr DWORD kLiveRegionChanged = 0x8019;
// UI Automation's ids (UIAutomationClient.h) for what its proxies would say of a static: a text
// element named by what it shows.
constexpr LONG kRootObjectId = -25; // UiaRootObjectId
constexpr PROPERTYID kControlTypeProperty = 30003;
constexpr PROPERTYID kNameProperty = 30005;
constexpr LONG kTextControlType = 50020;
constexpr HRESULT kElementNotAvailable = static_cast<HRESULT>(0x80040201);

} // namespace

// A COM object is destroyed by its last Release, never through its interface's destructor, which
// COM interfaces do not make virtual.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
// The announcer as a UI Automation element of its own: a server-side provider hosted by its
// window, which supplies the bounds, the process and the rest. A provider that UI Automation still
// holds once the window is gone answers that the element is not available.
class AnnouncerElement final : public IRawElementProviderSimple {
public:
    AnnouncerElement(HWND window, UiaNotifications::HostProvider host) noexcept
        : window_(window), host_(host) {}
    AnnouncerElement(const AnnouncerElement&) = delete;
    AnnouncerElement& operator=(const AnnouncerElement&) = delete;

    void Disconnect() noexcept { window_ = nullptr; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) noexcept override {
        if (object == nullptr) {
            return E_POINTER;
        }
        if (id == IID_IUnknown || id == IID_IRawElementProviderSimple) {
            *object = static_cast<IRawElementProviderSimple*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() noexcept override {
        return static_cast<ULONG>(InterlockedIncrement(&references_));
    }
    ULONG STDMETHODCALLTYPE Release() noexcept override {
        const LONG left = InterlockedDecrement(&references_);
        if (left == 0) {
            delete this; // NOLINT(cppcoreguidelines-owning-memory): COM's own lifetime
        }
        return static_cast<ULONG>(left);
    }

    HRESULT STDMETHODCALLTYPE get_ProviderOptions(ProviderOptions* options) noexcept override {
        // Called in the window's apartment, never from UI Automation's own threads.
        *options = static_cast<ProviderOptions>(ProviderOptions_ServerSideProvider |
                                                ProviderOptions_UseComThreading);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetPatternProvider(PATTERNID /*pattern*/,
                                                 IUnknown** provider) noexcept override {
        *provider = nullptr;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetPropertyValue(PROPERTYID property,
                                               VARIANT* value) noexcept override {
        value->vt = VT_EMPTY;
        if (window_ == nullptr) {
            return kElementNotAvailable;
        }
        if (property == kControlTypeProperty) {
            value->vt = VT_I4;
            value->lVal = kTextControlType;
        } else if (property == kNameProperty) {
            try {
                const std::wstring text = WindowText(window_);
                value->bstrVal = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
                value->vt = value->bstrVal != nullptr ? VT_BSTR : VT_EMPTY;
            } catch (...) {
                return E_OUTOFMEMORY;
            }
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE
    get_HostRawElementProvider(IRawElementProviderSimple** host) noexcept override {
        *host = nullptr;
        return window_ == nullptr ? kElementNotAvailable : host_(window_, host);
    }

private:
    ~AnnouncerElement() = default;

    LONG references_ = 1;
    HWND window_;
    UiaNotifications::HostProvider host_;
};
#pragma GCC diagnostic pop

UiaNotifications UiaNotifications::Find() noexcept {
    // Loaded once and kept for the process: Windows 7 has the library, without the event.
    static HMODULE const core = SystemLibrary(L"uiautomationcore.dll");
    if (core == nullptr) {
        return {};
    }
    return {SystemFunction<HostProvider>(core, "UiaHostProviderFromHwnd"),
            SystemFunction<ReturnProvider>(core, "UiaReturnRawElementProvider"),
            SystemFunction<Raise>(core, "UiaRaiseNotificationEvent")};
}

Announcer::Announcer(HWND window, HINSTANCE instance, const AccessibleProperties& properties)
    : static_(CreateWindowExW(WS_EX_TRANSPARENT, WC_STATICW, L"",
                              WS_CHILD | WS_VISIBLE | SS_NOPREFIX, 0, 0, 1, 1, window, nullptr,
                              instance, nullptr)),
      properties_(&properties) {
    if (static_ == nullptr || SetWindowSubclass(static_, &Procedure, kSubclassId,
                                                reinterpret_cast<DWORD_PTR>(this)) == FALSE) {
        throw std::runtime_error("cannot create the announcer");
    }
}

Announcer::~Announcer() {
    if (IsWindow(static_) != FALSE) {
        DestroyWindow(static_);
    }
}

const UiaNotifications& Announcer::Notifications() noexcept {
    if (!notifications_) {
        notifications_ = UiaNotifications::Find();
    }
    return *notifications_;
}

IRawElementProviderSimple* Announcer::Element() {
    if (!element_) {
        // The element keeps COM's threading rules, so its thread must be in an apartment.
        com_.Enter();
        element_.Reset(new AnnouncerElement(static_, Notifications().host_provider));
    }
    return element_.Get();
}

LRESULT CALLBACK Announcer::Procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam,
                                      UINT_PTR /*subclass*/, DWORD_PTR self) noexcept {
    try {
        return reinterpret_cast<Announcer*>(self)->Answer(message, wparam, lparam);
    } catch (...) {
        return DefSubclassProc(window, message, wparam, lparam);
    }
}

LRESULT Announcer::Answer(UINT message, WPARAM wparam, LPARAM lparam) {
    HWND const window = static_;
    switch (message) {
    case WM_PAINT: {
        // Draws nothing: the window's own face shows through its one pixel.
        PAINTSTRUCT paint{};
        BeginPaint(window, &paint);
        EndPaint(window, &paint);
        return 0;
    }
    case WM_PRINTCLIENT:
        return 0;
    case WM_NCHITTEST:
        return HTTRANSPARENT;
    case WM_TIMER:
        if (wparam == kPauseTimer) {
            KillTimer(window, kPauseTimer);
            Show(waiting_, Announcement::AfterPause);
            return 0;
        }
        break;
    case WM_GETOBJECT:
        if (static_cast<LONG>(lparam) == kRootObjectId && Notifications().Available()) {
            element_handed_out_ = true;
            return notifications_->return_provider(window, wparam, lparam, Element());
        }
        break;
    case WM_DESTROY:
        if (element_handed_out_) {
            // UI Automation lets go of what it was handed for this window.
            notifications_->return_provider(window, 0, 0, nullptr);
        }
        if (element_) {
            element_->Disconnect();
        }
        break;
    case WM_NCDESTROY:
        RemoveWindowSubclass(window, &Procedure, kSubclassId);
        static_ = nullptr;
        break;
    default:
        break;
    }
    return DefSubclassProc(window, message, wparam, lparam);
}

void Announcer::Say(std::wstring message, Announcement when) {
    if (when == Announcement::Now) {
        KillTimer(static_, kPauseTimer);
        Show(message, when);
        return;
    }
    waiting_ = std::move(message);
    // Setting the timer again starts the pause again.
    SetTimer(static_, kPauseTimer, static_cast<UINT>(kAnnouncementPause.count()), nullptr);
}

void Announcer::Show(const std::wstring& message, Announcement urgency) {
    const bool urgent = urgency == Announcement::Now;
    // The static holds the newest message whichever way it is said, for a reader that reads it.
    SetWindowTextW(static_, message.c_str());
    jaws_.Say(message, !urgent);
    if (Notifications().Available()) {
        const Bstr text(message);
        const Bstr activity(L"BrindleDSC.Estimate");
        notifications_->raise(Element(), kActionCompleted, urgent ? kImportantAll : kMostRecent,
                              text.Get(), activity.Get());
        return;
    }
    properties_->SetLiveSetting(static_, urgent ? LiveSetting::Assertive : LiveSetting::Polite);
    NotifyWinEvent(kLiveRegionChanged, static_, OBJID_CLIENT, CHILDID_SELF);
}

} // namespace brindle::platform::win32
