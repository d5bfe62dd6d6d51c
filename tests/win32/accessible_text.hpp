#pragma once

#include <oleacc.h>
#include <string>
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

} // namespace brindle::testing
