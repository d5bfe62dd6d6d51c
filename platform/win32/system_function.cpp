#include "platform/win32/system_function.hpp"

#include <string>

namespace brindle::platform::win32 {
namespace {

constexpr DWORD kSearchSystem32 = 0x00000800; // LOAD_LIBRARY_SEARCH_SYSTEM32

} // namespace

HMODULE SystemLibrary(const wchar_t* name) noexcept {
    // Windows 8 on, and 7 with its 2011 loader update: the library and what it needs in turn.
    if (HMODULE const library = LoadLibraryExW(name, nullptr, kSearchSystem32)) {
        return library;
    }
    try {
        std::wstring path(MAX_PATH, L'\0');
        const UINT length = GetSystemDirectoryW(path.data(), static_cast<UINT>(path.size()));
        if (length == 0 || length >= path.size()) {
            return nullptr;
        }
        path.resize(length);
        path.append(L"\\").append(name);
        // Elsewhere the flag is refused: a full path, and the libraries it needs in turn looked
        // for beside it.
        return LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    } catch (...) {
        return nullptr;
    }
}

void LimitLibrarySearch() noexcept {
    using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
    HMODULE const kernel32 = GetModuleHandleW(L"kernel32.dll");
    const auto limit =
        SystemFunction<SetDefaultDllDirectoriesFunction>(kernel32, "SetDefaultDllDirectories");
    if (limit != nullptr) {
        limit(kSearchSystem32);
    }
}

} // namespace brindle::platform::win32
