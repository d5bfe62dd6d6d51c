#include "platform/win32/accessible_properties.hpp"

#include <oleacc.h>
#include <string>

namespace brindle::platform::win32 {
namespace {

// The service's class and interface; the name and description an MSAA client reads; and UI
// Automation's live region property, which the service also keeps for a window and UI Automation's
// proxy for standard controls reads from it.
constexpr CLSID kAccPropServices = {
    0xb5f8350b, 0x0548, 0x48b1, {0xa6, 0xee, 0x88, 0xbd, 0x00, 0xb4, 0xa5, 0xe7}};
constexpr IID kAccPropServicesInterface = {
    0x6e26e776, 0x04f0, 0x495d, {0x80, 0xe4, 0x33, 0x30, 0x35, 0x2e, 0x31, 0x69}};
constexpr GUID kNameProperty = {
    0x608d3df8, 0x8128, 0x4aa7, {0xa4, 0x28, 0xf5, 0x5e, 0x49, 0x26, 0x72, 0x91}};
constexpr GUID kDescriptionProperty = {
    0x4d48dfe4, 0xbd3f, 0x491f, {0xa6, 0x48, 0x49, 0x2d, 0x6f, 0x20, 0xc5, 0x88}};
constexpr GUID kLiveSettingProperty = {
    0xc12bcd8e, 0x2a8e, 0x4950, {0x8a, 0xe7, 0x36, 0x25, 0x11, 0x1d, 0x58, 0xeb}};

// The service takes the object's id as the DWORD it is sent as; OBJID_CLIENT is a negative LONG.
constexpr auto kClient = static_cast<DWORD>(OBJID_CLIENT);

} // namespace

IAccPropServices* AccessibleProperties::Service() const noexcept {
    if (!tried_) {
        tried_ = true;
        com_.Enter();
        if (FAILED(CoCreateInstance(kAccPropServices, nullptr, CLSCTX_INPROC_SERVER,
                                    kAccPropServicesInterface,
                                    reinterpret_cast<void**>(service_.Out())))) {
            service_.Reset();
        }
    }
    return service_.Get();
}

// Made and ended here, where the service's interface is known.
AccessibleProperties::AccessibleProperties(Watcher watcher) : watcher_(std::move(watcher)) {}
AccessibleProperties::~AccessibleProperties() = default;

void AccessibleProperties::Watched(HWND window, AccessibleProperty property,
                                   std::wstring_view text) const noexcept {
    if (watcher_) {
        try {
            watcher_(window, property, text);
        } catch (...) {
            // What watches cannot change what the window does.
        }
    }
}

bool AccessibleProperties::SetText(HWND window, AccessibleProperty property,
                                   std::wstring_view text) const noexcept {
    Watched(window, property, text);
    IAccPropServices* const service = Service();
    if (service == nullptr) {
        return false;
    }
    MSAAPROPID id = property == AccessibleProperty::Name ? kNameProperty : kDescriptionProperty;
    if (text.empty()) {
        return SUCCEEDED(service->ClearHwndProps(window, kClient, CHILDID_SELF, &id, 1));
    }
    try {
        const std::wstring terminated(text);
        return SUCCEEDED(
            service->SetHwndPropStr(window, kClient, CHILDID_SELF, id, terminated.c_str()));
    } catch (...) {
        return false;
    }
}

bool AccessibleProperties::SetLiveSetting(HWND window, LiveSetting setting) const noexcept {
    Watched(window, AccessibleProperty::LiveSetting,
            setting == LiveSetting::Assertive ? L"assertive" : L"polite");
    IAccPropServices* const service = Service();
    if (service == nullptr) {
        return false;
    }
    VARIANT value{};
    value.vt = VT_I4;
    value.lVal = static_cast<LONG>(setting);
    return SUCCEEDED(
        service->SetHwndProp(window, kClient, CHILDID_SELF, kLiveSettingProperty, value));
}

} // namespace brindle::platform::win32
