#pragma once

#include <string_view>
#include <utility>
#include <windows.h>

// After <windows.h>, which they need.
#include <objbase.h>
#include <oleauto.h>

namespace brindle::platform::win32 {

// One reference to a COM object, released when it goes.
template <class Interface>
class ComRef {
public:
    ComRef() = default;
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
    [[nodiscard]] Interface** Out() noexcept {
        Reset();
        return &object_;
    }

private:
    Interface* object_ = nullptr;
};

// COM started on the thread that asks, in a single-threaded apartment, and undone with the object.
class ComApartment {
public:
    ComApartment() = default;
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
    ~ComApartment() {
        if (started_) {
            CoUninitialize();
        }
    }

    // Once: the objects made after it live in the apartment, and must be released before it ends.
    void Enter() noexcept {
        if (!entered_) {
            entered_ = true;
            // S_FALSE too: COM was already started on this thread, and this start must still be
            // undone.
            started_ = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
        }
    }

private:
    bool entered_ = false;
    bool started_ = false;
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
