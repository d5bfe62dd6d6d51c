#pragma once

#include "platform/win32/com.hpp"

#include <oaidl.h>
#include <string_view>
#include <windows.h>

namespace brindle::platform::win32 {

// JAWS speaks neither UI Automation's notifications nor every live region; a program that wants it
// to say something hands the text to its own automation object, which JAWS registers under a
// ProgID. Only while JAWS runs is that object looked up, and nothing of it is loaded otherwise.
class JawsSpeech {
public:
    static constexpr const wchar_t* kProgId = L"FreedomSci.JawsApi";
    // The window JAWS keeps while it runs.
    static constexpr const wchar_t* kRunningWindowClass = L"JFWUI2";

    JawsSpeech() = default;
    JawsSpeech(const JawsSpeech&) = delete;
    JawsSpeech& operator=(const JawsSpeech&) = delete;
    ~JawsSpeech() = default;

    // Has JAWS say `text`, first silencing what it is saying where `interrupt`.
    void Say(std::wstring_view text, bool interrupt) noexcept;

private:
    bool Connect() noexcept;

    ComApartment com_;      // before the object, which is released first
    ComRef<IDispatch> api_; // dropped when JAWS ends, looked up again when it runs again
    DISPID say_string_ = DISPID_UNKNOWN;
};

} // namespace brindle::platform::win32
