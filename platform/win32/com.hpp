#pragma once

#include <string_view>
#include <utility>
#include <windows.h>

// After <windows.h>, which it needs.
#include <oleauto.h>

namespace brindle::platform::win32 {

// One reference to a COM object, released when it goes.
template <class Interface>
class ComRef {
public:
    ComRef() = default;
    // Takes over a reference the caller holds.
    explicit ComRef(Interface* taken) noexcept : object_(taken) {}
    ComRef(const ComRef&) = delete;
    ComRef& operator=(const ComRef&) = delete;
    ~ComRef() { Reset(); }

    // Lets go of the object held, and takes over `taken`, a reference the caller holds.
    void Reset(Interface* taken = nullptr) noexcept {
        if (Interface* const held = std::exchange(object_, taken); held != nullptr) {
            held->Release();
        }
    }
    [[nodiscard]] Interface* Get() const noexcept { return object_; }
    [[nodiscard]] Interface* operator->() const noexcept { return object_; }
    explicit operator bool() const noexcept { return object_ != nullptr; }
    // Where a call that hands out a reference puts it.
    [[nodiscard]] void** Out() noexcept {
        Reset();
        return reinterpret_cast<void**>(&object_);
    }

private:
    Interface* object_ = nullptr;
};

// A string a COM call takes and its callee does not keep.
class Bstr {
public:
    explicit Bstr(std::wstring_view text)
        : text_(SysAllocStringLen(text.data(), static_cast<UINT>(text.size()))) {}
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    ~Bstr() { SysFreeString(text_); }
    [[nodiscard]] BSTR Get() const noexcept { return text_; }

private:
    BSTR text_;
};

} // namespace brindle::platform::win32
