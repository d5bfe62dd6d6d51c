#include "platform/win32/system_function.hpp"

#include <string>

namespace brindle::platform::win32 {

HMODULE SystemLibrary(const wchar_t* name) noexcept {
    try {
        std::wstring path(MAX_PATH, L'\0');
        const UINT length = GetSystemDirectoryW(path.data(), static_cast<UINT>(path.size()));
        if (length == 0 || length >= path.size()) {
            return nullptr;
        }
        path.resize(length);
        path.append(L"\\").append(name);
        // A full path, and the libraries it needs in turn looked for beside it: this works on
        // every Windows from 7 on, with or without the loader's newer search flags.
        return LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    } catch (...) {
        return nullptr;
    }
}

void LimitLibrarySearch() noexcept {
    using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
    constexpr DWORD kSearchSystem32 = 0x00000800; // LOAD_LIBRARY_SEARCH_SYSTEM32
    HMODULE const kernel32 = GetModuleHandleW(L"kernel32.dll");
    const auto limit =
        SystemFunction<SetDefaultDllDirectoriesFunction>(kernel32, "SetDefaultDllDirectories");
    if (limit != nullptr) {
        limit(kSearchSystem32);
    }
}

} // namespace brindle::platform::win32
