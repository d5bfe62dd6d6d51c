#pragma once

#include <windows.h>

namespace brindle::platform::win32 {

// A function of a system library that not every supported Windows has, looked up at run time: a
// program that imported it would not even load where it is missing. nullptr where it is.
template <class Function>
[[nodiscard]] Function SystemFunction(HMODULE module, const char* name) noexcept {
    // GetProcAddress returns every function under one type; going through a pointer to a function
    // without parameters is the cast the language allows between function types.
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

} // namespace brindle::platform::win32
