#pragma once

#include "accessible_text.hpp"
#include "app/program_record.hpp"
#include "platform/win32/drawing_surface.hpp"
#include "platform/win32/win32_text.hpp"
#include "platform/win32/win32_window.hpp"
#include "window/form1.hpp"

#include <algorithm>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>
#include <windows.h>

#include <gtest/gtest.h>

namespace brindle::testing {

// A memory bitmap to draw into, filled with one colour.
class Canvas : public platform::win32::DrawingSurface {
public:
    Canvas(int width, int height, COLORREF background)
        : DrawingSurface(nullptr, width, height, background) {}
    [[nodiscard]] COLORREF Pixel(int x, int y) const { return GetPixel(Get(), x, y); }
    // The pixels that are not `background`: the ink of what was drawn.
    [[nodiscard]] int Ink(COLORREF background) const {
        const std::span<const std::uint32_t> pixels = Pixels();
        return static_cast<int>(std::count_if(pixels.begin(), pixels.end(), [&](auto pixel) {
            return AsColour(pixel) != background;
        }));
    }
};

// Delivers whatever is queued the way the program's message loop does.
inline void PumpMessages(HWND dialog) {
    MSG message{};
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE) != FALSE) {
        if (IsDialogMessageW(dialog, &message) == FALSE) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
}

// Form1 on real Windows controls, loaded and shown as the run routine leaves it. The tests talk to
// it the way other programs and assistive technology do: standard window messages, and keyboard
// input that goes through the dialog manager like the program's own message loop.
class Win32Form1 {
public:
    Win32Form1() {
        window.Attach(form);
        window.Load();
        ShowWindow(window.Handle(), SW_SHOW);
        SetForegroundWindow(window.Handle());
        Pump();
    }

    [[nodiscard]] HWND Control(std::string_view name) const {
        HWND const control = window.Control(name);
        EXPECT_NE(control, nullptr) << name;
        return control;
    }

    // A control's text through WM_GETTEXT, as any process reads it.
    [[nodiscard]] std::string Text(std::string_view name) const {
        HWND const control = Control(name);
        std::wstring text(
            static_cast<std::size_t>(SendMessageW(control, WM_GETTEXTLENGTH, 0, 0)) + 1, L'\0');
        text.resize(static_cast<std::size_t>(
            SendMessageW(control, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()))));
        return platform::win32::Narrow(text);
    }

    [[nodiscard]] std::pair<std::string, std::string> Captions() const {
        return {Text("lblResMB"), Text("lblextrares")};
    }

    [[nodiscard]] bool Checked(std::string_view name) const {
        return SendMessageW(Control(name), BM_GETCHECK, 0, 0) == BST_CHECKED;
    }

    void Pump() const { PumpMessages(window.Handle()); }

    // A key pressed and released on the focused control, through the message loop.
    void Key(UINT virtual_key) const {
        HWND const focus = GetFocus();
        PostMessageW(focus, WM_KEYDOWN, virtual_key, 1);
        PostMessageW(focus, WM_KEYUP, virtual_key, 0xC0000001);
        Pump();
    }

    // Characters typed into the focused control, one keystroke each.
    void Type(std::wstring_view characters) const {
        for (const wchar_t character : characters) {
            PostMessageW(GetFocus(), WM_CHAR, character, 1);
            Pump();
        }
    }

    void Focus(std::string_view name) const {
        SetFocus(Control(name));
        Pump();
    }

    HandedProperties handed;
    platform::win32::Win32Window window{app::BrindleWindowDesign(), GetModuleHandleW(nullptr),
                                        handed.Watcher()};
    window::Form1 form{window};
};

} // namespace brindle::testing
