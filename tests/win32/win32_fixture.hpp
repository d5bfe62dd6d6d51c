#pragma once

#include "accessible_text.hpp"
#include "app/program_record.hpp"
#include "expected_form1.hpp"
#include "platform/win32/win32_text.hpp"
#include "platform/win32/win32_window.hpp"
#include "window/form1.hpp"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>
#include <windows.h>

#include <gtest/gtest.h>

namespace brindle::testing {

// A memory bitmap to draw into, filled with one colour.
class Canvas {
public:
    Canvas(int width, int height, COLORREF background)
        : dc_(CreateCompatibleDC(nullptr)), width_(width), height_(height) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height; // top-down
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        bits_ = static_cast<const std::uint32_t*>(bits);
        previous_ = SelectObject(dc_, bitmap_);
        HBRUSH const brush = CreateSolidBrush(background);
        const RECT all{0, 0, width, height};
        FillRect(dc_, &all, brush);
        DeleteObject(brush);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;
    ~Canvas() {
        SelectObject(dc_, previous_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    [[nodiscard]] HDC Get() const noexcept { return dc_; }
    [[nodiscard]] COLORREF Pixel(int x, int y) const { return GetPixel(dc_, x, y); }
    // Every pixel as 0xRRGGBB, row by row from the top.
    [[nodiscard]] std::vector<std::uint32_t> Pixels() const {
        GdiFlush();
        std::vector<std::uint32_t> pixels(bits_,
                                          bits_ + static_cast<std::size_t>(width_ * height_));
        for (std::uint32_t& pixel : pixels) {
            pixel &= 0xFFFFFF;
        }
        return pixels;
    }
    // The pixels that are not `background`: the ink of what was drawn.
    [[nodiscard]] int Ink(COLORREF background) const {
        int ink = 0;
        for (int y = 0; y < height_; ++y) {
            for (int x = 0; x < width_; ++x) {
                ink += GetPixel(dc_, x, y) != background ? 1 : 0;
            }
        }
        return ink;
    }

private:
    HDC dc_;
    HBITMAP bitmap_ = nullptr;
    const std::uint32_t* bits_ = nullptr;
    HGDIOBJ previous_ = nullptr;
    int width_;
    int height_;
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

// The system's own dialog font, as it was before any test pinned one.
inline const LOGFONTW& SystemDialogFont() {
    static const LOGFONTW font = [] {
        NONCLIENTMETRICSW metrics{};
        metrics.cbSize = sizeof metrics;
        SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
        return metrics.lfMessageFont;
    }();
    return font;
}

// A dialog font for the windows made while the object lives; the one before is put back after.
class DialogFont {
public:
    explicit DialogFont(const LOGFONTW& font) {
        before_.cbSize = sizeof before_;
        SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof before_, &before_, 0);
        NONCLIENTMETRICSW metrics = before_;
        metrics.lfMessageFont = font;
        set_ = SystemParametersInfoW(SPI_SETNONCLIENTMETRICS, sizeof metrics, &metrics, 0) != FALSE;
    }
    DialogFont(const DialogFont&) = delete;
    DialogFont& operator=(const DialogFont&) = delete;
    ~DialogFont() { SystemParametersInfoW(SPI_SETNONCLIENTMETRICS, sizeof before_, &before_, 0); }
    [[nodiscard]] bool Set() const noexcept { return set_; }

    // A face at the 11 pixels the tests pin.
    static LOGFONTW Pinned(const wchar_t* face) {
        LOGFONTW font = SystemDialogFont();
        font.lfHeight = -11;
        wcscpy_s(font.lfFaceName, face);
        return font;
    }

private:
    NONCLIENTMETRICSW before_{};
    bool set_ = false;
};

// Each caption label is wide enough for its text as its static control draws it, at each DPI:
// the control's own drawing holds every pixel of ink that the same text drawn without a clip has.
inline void ExpectCaptionsWhole(const Win32Form1& form, const std::string& font) {
    for (const UINT dpi : {96U, 120U, 144U}) {
        RECT frame{};
        GetWindowRect(form.window.Handle(), &frame);
        SendMessageW(form.window.Handle(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                     reinterpret_cast<LPARAM>(&frame));
        form.Pump();
        for (const ExpectedControl& control : kExpectedControls) {
            if (!control.style.sizes_to_caption || control.style.word_wrap) {
                continue;
            }
            HWND const label = form.Control(control.name);
            RECT client{};
            GetClientRect(label, &client);
            const COLORREF background = GetSysColor(COLOR_BTNFACE);
            const Canvas drawn(client.right, client.bottom, background);
            SendMessageW(label, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(drawn.Get()),
                         PRF_CLIENT | PRF_ERASEBKGND);

            const std::wstring text = platform::win32::Widen(form.Text(control.name));
            const Canvas whole(client.right * 3 + 20, client.bottom, background);
            SelectObject(whole.Get(),
                         reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0)));
            SetBkMode(whole.Get(), TRANSPARENT);
            SetTextColor(whole.Get(), GetSysColor(COLOR_WINDOWTEXT));
            RECT unclipped{0, 0, client.right * 3 + 20, client.bottom};
            DrawTextW(whole.Get(), text.c_str(), static_cast<int>(text.size()), &unclipped,
                      DT_LEFT | DT_EXPANDTABS | DT_NOPREFIX);
            EXPECT_GT(whole.Ink(background), 0) << control.name;
            EXPECT_EQ(drawn.Ink(background), whole.Ink(background))
                << font << " at " << dpi << " dpi: " << control.name << " is " << client.right
                << " px wide";
        }
    }
}

} // namespace brindle::testing
