#pragma once

#include <windows.h>

// The DPI services of USER32. Per-monitor DPI came with Windows 10 version 1607; a program that
// imported those functions would not even load on earlier systems. They are looked up once at run
// time instead, and where they are missing every window has the system DPI, which the older
// functions already use.
namespace brindle::platform::win32::dpi {

[[nodiscard]] UINT ForWindow(HWND window);
BOOL AdjustWindowRect(RECT& rect, DWORD style, DWORD ex_style, UINT dpi);
BOOL SystemParameters(UINT action, UINT size, void* value, UINT dpi);
[[nodiscard]] int SystemMetric(int index, UINT dpi);

// For tests: behave as on a system without the per-monitor functions, or again as this one.
void HideNewerFunctions(bool hide) noexcept;

} // namespace brindle::platform::win32::dpi
