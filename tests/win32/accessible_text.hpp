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

// The text of a window's standard accessible object, which Windows' accessibility layer gives a
// client for a standard control, read in-process.
inline std::wstring AccessibleText(HWND window, AccessibleTextOf text_of) {
    IAccessible* accessible = nullptr;
    if (FAILED(CreateStdAccessibleObject(window, OBJID_CLIENT, __uuidof(IAccessible),
                                         reinterpret_cast<void**>(&accessible)))) {
        return L"(no accessible object)";
    }
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    return TakeText(accessible, self, text_of);
}

} // namespace brindle::testing
