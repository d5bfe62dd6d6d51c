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

// A library of Windows loaded from the system folder and nowhere else. A library loaded by its
// bare name is looked for in the program's own folder first, and the portable program is unpacked
// wherever the user puts it, among whatever else was downloaded there. nullptr where it is missing;
// loaded for the rest of the process.
[[nodiscard]] HMODULE SystemLibrary(const wchar_t* name) noexcept;

// From here on, whatever the process loads late by a bare name (COM servers registered so, the
// libraries they load in turn) comes from the system folder only. Where the system cannot limit
// it (Windows 7 without its 2011 loader update), nothing changes.
void LimitLibrarySearch() noexcept;

} // namespace brindle::platform::win32
