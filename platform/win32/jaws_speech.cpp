#include "platform/win32/jaws_speech.hpp"

#include <array>

namespace brindle::platform::win32 {

bool JawsSpeech::Connect() noexcept {
    com_.Enter();
    CLSID api_class{};
    if (FAILED(CLSIDFromProgID(kProgId, &api_class)) ||
        FAILED(CoCreateInstance(api_class, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                                IID_IDispatch, reinterpret_cast<void**>(api_.Out())))) {
        api_.Reset();
        return false;
    }
    wchar_t method[] = L"SayString";
    LPOLESTR names[] = {method};
    if (FAILED(api_->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &say_string_))) {
        api_.Reset();
        return false;
    }
    return true;
}

void JawsSpeech::Say(std::wstring_view text, bool interrupt) noexcept {
    if (FindWindowW(kRunningWindowClass, nullptr) == nullptr) {
        api_.Reset();
        return;
    }
    if (!api_ && !Connect()) {
        return;
    }
    try {
        const Bstr said(text);
        // Arguments go in reverse order: SayString(text, flush).
        std::array<VARIANT, 2> arguments{};
        arguments[0].vt = VT_BOOL;
        arguments[0].boolVal = interrupt ? VARIANT_TRUE : VARIANT_FALSE;
        arguments[1].vt = VT_BSTR;
        arguments[1].bstrVal = said.Get();
        DISPPARAMS parameters{arguments.data(), nullptr, 2, 0};
        VARIANT result{};
        const HRESULT invoked =
            api_->Invoke(say_string_, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &parameters,
                         &result, nullptr, nullptr);
        VariantClear(&result);
        if (FAILED(invoked)) {
            api_.Reset(); // JAWS ended or restarted: look it up afresh next time
        }
    } catch (...) {
        // Nothing is said; the other readers still hear the window.
    }
}

} // namespace brindle::platform::win32
