#include "platform/win32/dpi.hpp"

#include "platform/win32/system_function.hpp"

namespace brindle::platform::win32::dpi {
namespace {

using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
using AdjustWindowRectExForDpiFunction = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
using SystemParametersInfoForDpiFunction = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT, UINT);
using GetSystemMetricsForDpiFunction = int(WINAPI*)(int, UINT);

struct NewerFunctions {
    GetDpiForWindowFunction get_dpi_for_window = nullptr;
    AdjustWindowRectExForDpiFunction adjust_window_rect = nullptr;
    SystemParametersInfoForDpiFunction system_parameters = nullptr;
    GetSystemMetricsForDpiFunction system_metrics = nullptr;
};

bool hidden = false; // NOLINT(cppcoreguidelines-avoid-non-const-global-variables): test switch

const NewerFunctions& Newer() {
    static const NewerFunctions functions = [] {
        HMODULE const user32 = GetModuleHandleW(L"user32.dll");
        if (user32 == nullptr) {
            return NewerFunctions{};
        }
        return NewerFunctions{
            .get_dpi_for_window =
                SystemFunction<GetDpiForWindowFunction>(user32, "GetDpiForWindow"),
            .adjust_window_rect = SystemFunction<AdjustWindowRectExForDpiFunction>(
                user32, "AdjustWindowRectExForDpi"),
            .system_parameters = SystemFunction<SystemParametersInfoForDpiFunction>(
                user32, "SystemParametersInfoForDpi"),
            .system_metrics =
                SystemFunction<GetSystemMetricsForDpiFunction>(user32, "GetSystemMetricsForDpi"),
        };
    }();
    static const NewerFunctions none{};
    return hidden ? none : functions;
}

} // namespace

UINT ForWindow(HWND window) {
    if (const auto function = Newer().get_dpi_for_window) {
        return function(window);
    }
    HDC const dc = GetDC(window);
    const int dpi = GetDeviceCaps(dc, LOGPIXELSY);
    ReleaseDC(window, dc);
    return dpi > 0 ? static_cast<UINT>(dpi) : USER_DEFAULT_SCREEN_DPI;
}

BOOL AdjustWindowRect(RECT& rect, DWORD style, DWORD ex_style, UINT dpi) {
    if (const auto function = Newer().adjust_window_rect) {
        return function(&rect, style, FALSE, ex_style, dpi);
    }
    return AdjustWindowRectEx(&rect, style, FALSE, ex_style);
}

BOOL SystemParameters(UINT action, UINT size, void* value, UINT dpi) {
    if (const auto function = Newer().system_parameters) {
        return function(action, size, value, 0, dpi);
    }
    return SystemParametersInfoW(action, size, value, 0);
}

int SystemMetric(int index, UINT dpi) {
    if (const auto function = Newer().system_metrics) {
        return function(index, dpi);
    }
    return GetSystemMetrics(index);
}

void HideNewerFunctions(bool hide) noexcept {
    hidden = hide;
}

} // namespace brindle::platform::win32::dpi
