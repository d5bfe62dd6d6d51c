#pragma once

#include "platform/win32/accessible_properties.hpp"

#include <map>
#include <oleacc.h>
#include <string>
#include <utility>
#include <windows.h>

namespace brindle::testing {

// A text an MSAA client reads of an accessible object, as a screen reader reads it: its name or
// its description.
using AccessibleTextOf = HRESULT (STDMETHODCALLTYPE IAccessible::*)(VARIANT, BSTR*);

// The text of `child` in `accessible`, which this call releases; what the object could not give
// is said in brackets.
inline std::wstring TakeText(IAccessible* accessible, VARIANT child, AccessibleTextOf text_of) {
    BSTR text = nullptr;
    const HRESULT read = (accessible->*text_of)(child, &text);
    std::wstring taken = FAILED(read)      ? L"(unreadable)"
                         : text != nullptr ? std::wstring(text)
                                           : std::wstring();
    SysFreeString(text);
    accessible->Release();
    return taken;
}

// How a client finds a window's accessible object: as a screen reader asks for it, through the
// window's answer to WM_GETOBJECT and what oleacc keeps for the window
// (AccessibleObjectFromWindow), or as the standard control's object itself
// (CreateStdAccessibleObject), which Wine gives in-process where the first finds nothing for an
// edit control.
enum class Found { AsAClientAsks, AsTheStandardObject };

// The text of a window's own accessible object.
inline std::wstring AccessibleText(HWND window, AccessibleTextOf text_of, Found found) {
    IAccessible* accessible = nullptr;
    const HRESULT made =
        found == Found::AsAClientAsks
            ? AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT),
                                         __uuidof(IAccessible),
                                         reinterpret_cast<void**>(&accessible))
            : CreateStdAccessibleObject(window, OBJID_CLIENT, __uuidof(IAccessible),
                                        reinterpret_cast<void**>(&accessible));
    if (FAILED(made)) {
        return L"(no accessible object)";
    }
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    return TakeText(accessible, self, text_of);
}

// What a window handed Windows' accessibility property service: the newest value of each property
// of each window.
struct HandedProperties {
    std::map<std::pair<HWND, platform::win32::AccessibleProperty>, std::wstring> newest;

    [[nodiscard]] platform::win32::AccessibleProperties::Watcher Watcher() {
        return [this](HWND window, platform::win32::AccessibleProperty property,
                      std::wstring_view value) {
            newest[{window, property}] = value;
        };
    }
    [[nodiscard]] std::wstring Of(HWND window, platform::win32::AccessibleProperty property) {
        return newest[{window, property}];
    }
};

// Whether this system's property service keeps what it is handed, so that a client reads it
// back. Wine 8's keeps nothing: its SetHwndPropStr is not implemented.
inline bool PropertiesAreKept() {
    const platform::win32::AccessibleProperties properties;
    HWND const probe = CreateWindowW(L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                     GetModuleHandleW(nullptr), nullptr);
    const bool kept =
        properties.SetText(probe, platform::win32::AccessibleProperty::Description, L"probe") &&
        AccessibleText(probe, &IAccessible::get_accDescription, Found::AsAClientAsks) == L"probe";
    DestroyWindow(probe);
    return kept;
}

// A window's name or description as a screen reader reads it where the system keeps what the
// window hands over; elsewhere, what it handed over.
inline std::wstring ReadOrHanded(HWND window, platform::win32::AccessibleProperty property,
                                 HandedProperties& handed) {
    static const bool kept = PropertiesAreKept();
    const bool name = property == platform::win32::AccessibleProperty::Name;
    return kept
               ? AccessibleText(window,
                                name ? &IAccessible::get_accName : &IAccessible::get_accDescription,
                                Found::AsAClientAsks)
               : handed.Of(window, property);
}

} // namespace brindle::testing
