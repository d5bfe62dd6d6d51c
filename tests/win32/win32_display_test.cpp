// The real program on a real display: Wine's X11 driver on an X server of the test's own (ctest
// runs these through tests/x11/run.sh and tools/wine-run.sh), in the classic look, with the dialog
// font pinned as in the other Windows tests and a caret that does not blink. The window is grabbed
// from the screen as the user sees it.

#include "app/program_record.hpp"
#include "platform/error_colour.hpp"
#include "platform/mark_ring.hpp"
#include "platform/win32/win32_text.hpp"
#include "png_file.hpp"
#include "started_program.hpp"
#include "win32_fixture.hpp"

#include <array>
#include <objbase.h>
#include <string>
#include <vector>
#include <windows.h>

#include <gtest/gtest.h>

namespace brindle::testing {
namespace {

const std::wstring kProgram = platform::win32::Widen(BRINDLE_TEST_PROGRAM);
const std::wstring kSourceFolder = platform::win32::Widen(BRINDLE_TEST_SOURCE_DIR) + L"\\win32\\";

// The folder of the test program, where what was seen is written.
std::wstring TestFolder() {
    std::array<wchar_t, MAX_PATH> path{};
    GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    std::wstring folder(path.data());
    return folder.substr(0, folder.find_last_of(L"\\/") + 1);
}

// What the screen shows of the window's client area now.
Picture GrabNow(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    const Canvas grabbed(client.right, client.bottom, 0);
    HDC const screen = GetDC(nullptr);
    BitBlt(grabbed.Get(), 0, 0, client.right, client.bottom, screen, origin.x, origin.y, SRCCOPY);
    ReleaseDC(nullptr, screen);
    const std::span<const std::uint32_t> pixels = grabbed.Pixels();
    return {client.right, client.bottom, {pixels.begin(), pixels.end()}};
}

// What the screen shows of the window's client area once the program has drawn it: it paints on
// its own thread, and X draws after it, so the screen is read until it holds still.
Picture Grab(HWND window) {
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    Picture before = GrabNow(window);
    for (int tries = 0; tries < 50; ++tries) {
        Sleep(200);
        Picture now = GrabNow(window);
        if (now.pixels == before.pixels) {
            break;
        }
        before = std::move(now);
    }
    return before;
}

// A control of the started program, by its design name, and where it is in the window.
HWND ControlOf(HWND window, std::string_view name) {
    const std::optional<std::size_t> index = app::BrindleWindowDesign().IndexOf(name);
    return index ? GetDlgItem(window, 100 + static_cast<int>(*index)) : nullptr;
}

RECT RectIn(HWND window, std::string_view name) {
    RECT rect{};
    GetWindowRect(ControlOf(window, name), &rect);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// The settings a program started from here sees: the display's DPI, the pinned dialog font, a
// steady caret; each put back as it was when the test ends.
class DisplaySettings {
public:
    explicit DisplaySettings(DWORD dpi) : blink_(GetCaretBlinkTime()) {
        CoInitialize(nullptr);
        RegCreateKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, nullptr, 0,
                        KEY_READ | KEY_WRITE, nullptr, &desktop_, nullptr);
        DWORD size = sizeof dpi_;
        had_dpi_ = RegQueryValueExW(desktop_, L"LogPixels", nullptr, nullptr,
                                    reinterpret_cast<BYTE*>(&dpi_), &size) == ERROR_SUCCESS;
        RegSetValueExW(desktop_, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi),
                       sizeof dpi);
        metrics_.cbSize = sizeof metrics_;
        SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics_, &metrics_, 0);
        NONCLIENTMETRICSW pinned = metrics_;
        pinned.lfMessageFont.lfHeight = -11;
        wcscpy_s(pinned.lfMessageFont.lfFaceName, L"DejaVu Sans Condensed");
        SystemParametersInfoW(SPI_SETNONCLIENTMETRICS, sizeof pinned, &pinned, SPIF_UPDATEINIFILE);
        SetCaretBlinkTime(INFINITE);
    }
    DisplaySettings(const DisplaySettings&) = delete;
    DisplaySettings& operator=(const DisplaySettings&) = delete;
    ~DisplaySettings() {
        SetCaretBlinkTime(blink_);
        SystemParametersInfoW(SPI_SETNONCLIENTMETRICS, sizeof metrics_, &metrics_,
                              SPIF_UPDATEINIFILE);
        if (had_dpi_) {
            RegSetValueExW(desktop_, L"LogPixels", 0, REG_DWORD,
                           reinterpret_cast<const BYTE*>(&dpi_), sizeof dpi_);
        } else {
            RegDeleteValueW(desktop_, L"LogPixels");
        }
        RegCloseKey(desktop_);
        CoUninitialize();
    }

private:
    UINT blink_;
    HKEY desktop_ = nullptr;
    DWORD dpi_ = 0;
    bool had_dpi_ = false;
    NONCLIENTMETRICSW metrics_{};
};

// The loaded window pixel for pixel as it was last seen to be right, at 96 and 144 dpi:
// tests/win32/form1_<dpi>dpi_expected.png. What was seen is written beside the test program as
// form1_<dpi>dpi.png, and the pixels that differ, in red, as form1_<dpi>dpi_difference.png; when
// a change of looks is meant, the new picture becomes the expected one.
TEST(OnADisplay, TheWindowLooksAsItWasLastSeenToBeRight) {
    for (const DWORD dpi : {96UL, 144UL}) {
        const std::wstring name = L"form1_" + std::to_wstring(dpi) + L"dpi";
        const DisplaySettings settings(dpi);
        const StartedProgram program(kProgram, L"");
        ASSERT_NE(program.Window(), nullptr);
        const Picture seen = Grab(program.Window());
        ASSERT_TRUE(WritePng(TestFolder() + name + L".png", seen));
        const Picture expected = ReadPng(kSourceFolder + name + L"_expected.png");
        ASSERT_EQ(expected.width, seen.width) << dpi << " dpi";
        ASSERT_EQ(expected.height, seen.height) << dpi << " dpi";
        Picture difference{seen.width, seen.height,
                           std::vector<std::uint32_t>(seen.pixels.size(), 0xFFFFFF)};
        int differing = 0;
        RECT where{seen.width, seen.height, -1, -1};
        for (int y = 0; y < seen.height; ++y) {
            for (int x = 0; x < seen.width; ++x) {
                if (seen.At(x, y) != expected.At(x, y)) {
                    ++differing;
                    difference.pixels[static_cast<std::size_t>(y * seen.width + x)] = 0xFF0000;
                    where = {std::min<LONG>(where.left, x), std::min<LONG>(where.top, y),
                             std::max<LONG>(where.right, x), std::max<LONG>(where.bottom, y)};
                }
            }
        }
        if (differing > 0) {
            WritePng(TestFolder() + name + L"_difference.png", difference);
        }
        EXPECT_EQ(differing, 0) << "at " << dpi << " dpi, pixels differ between x " << where.left
                                << ".." << where.right << " and y " << where.top << ".."
                                << where.bottom << "; see " << platform::win32::Narrow(name)
                                << ".png and its _difference.png in the test folder";
        EXPECT_EQ(program.Close(), 0);
    }
}

// The system colours of Windows' High Contrast Black and High Contrast White: the eight colours
// its settings show, with the 3D edges and frames, which they do not show, in the text colour, as
// those schemes draw control borders.
struct Scheme {
    const char* name;
    COLORREF background;
    COLORREF text;
    COLORREF greyed;
    COLORREF selected;
    COLORREF selected_text;
    COLORREF link;
};
constexpr Scheme kHighContrastSchemes[] = {
    {"High Contrast Black", RGB(0, 0, 0), RGB(255, 255, 255), RGB(0x3F, 0xF2, 0x3F),
     RGB(0x1A, 0xEB, 0xFF), RGB(0, 0, 0), RGB(255, 255, 0)},
    {"High Contrast White", RGB(255, 255, 255), RGB(0, 0, 0), RGB(0x60, 0, 0), RGB(0x37, 0, 0x6E),
     RGB(255, 255, 255), RGB(0, 0, 0x9F)},
};

// A scheme's system colours, as long as the object lives.
class SystemColours {
public:
    explicit SystemColours(const Scheme& scheme) {
        const std::pair<int, COLORREF> colours[] = {
            {COLOR_WINDOW, scheme.background},
            {COLOR_BTNFACE, scheme.background},
            {COLOR_WINDOWTEXT, scheme.text},
            {COLOR_BTNTEXT, scheme.text},
            {COLOR_GRAYTEXT, scheme.greyed},
            {COLOR_HIGHLIGHT, scheme.selected},
            {COLOR_HIGHLIGHTTEXT, scheme.selected_text},
            {COLOR_HOTLIGHT, scheme.link},
            {COLOR_3DSHADOW, scheme.text},
            {COLOR_3DHIGHLIGHT, scheme.text},
            {COLOR_3DDKSHADOW, scheme.text},
            {COLOR_3DLIGHT, scheme.text},
            {COLOR_WINDOWFRAME, scheme.text},
        };
        for (const auto& [index, colour] : colours) {
            elements_.push_back(index);
            previous_.push_back(GetSysColor(index));
            wanted_.push_back(colour);
        }
        SetSysColors(static_cast<int>(elements_.size()), elements_.data(), wanted_.data());
    }
    SystemColours(const SystemColours&) = delete;
    SystemColours& operator=(const SystemColours&) = delete;
    ~SystemColours() {
        SetSysColors(static_cast<int>(elements_.size()), elements_.data(), previous_.data());
    }

private:
    std::vector<int> elements_;
    std::vector<COLORREF> previous_;
    std::vector<COLORREF> wanted_;
};

platform::Rgb ToRgb(std::uint32_t pixel) {
    return {static_cast<std::uint8_t>(pixel >> 16), static_cast<std::uint8_t>(pixel >> 8),
            static_cast<std::uint8_t>(pixel)};
}

// The strongest contrast against `background` of any pixel in a rectangle of the picture: for
// text, that of its strokes; for a line, that of the line.
double StrongestContrast(const Picture& picture, const RECT& area, COLORREF background) {
    const platform::Rgb behind{GetRValue(background), GetGValue(background), GetBValue(background)};
    double strongest = 1.0;
    for (int y = std::max<int>(area.top, 0); y < std::min<int>(area.bottom, picture.height); ++y) {
        for (int x = std::max<int>(area.left, 0); x < std::min<int>(area.right, picture.width);
             ++x) {
            strongest =
                std::max(strongest, platform::ContrastRatio(ToRgb(picture.At(x, y)), behind));
        }
    }
    return strongest;
}

// In each high contrast scheme, with an error showing, everything the user must see reaches 3:1
// against the window on the screen: the captions, each side of the boxes' borders, the greyed
// figures and the ring around the box that failed.
TEST(OnADisplay, HighContrastKeepsEverythingAtThreeToOne) {
    const DisplaySettings settings(96);
    for (const Scheme& scheme : kHighContrastSchemes) {
        SCOPED_TRACE(scheme.name);
        const SystemColours colours(scheme);
        const StartedProgram program(kProgram, L"");
        HWND const window = program.Window();
        ASSERT_NE(window, nullptr);
        HWND const cd = ControlOf(window, "txtCD");
        SendMessageW(cd, EM_SETSEL, 0x7FFF, 0x7FFF);
        for (const wchar_t key : std::wstring_view(L"e289")) {
            SendMessageW(cd, WM_CHAR, key, 1);
        }
        ASSERT_EQ(IsWindowEnabled(ControlOf(window, "lblResMB")), FALSE) << "no error shows";
        const Picture seen = Grab(window);
        WritePng(TestFolder() + L"form1_" + platform::win32::Widen(scheme.name) + L".png", seen);
        const auto expect_contrast = [&](std::string_view what, const RECT& area) {
            EXPECT_GE(StrongestContrast(seen, area, scheme.background),
                      platform::kIndicatorContrast)
                << what;
        };

        for (const char* caption : {"Label1", "Label2", "Label3", "lblUsingcompression",
                                    "opt11kmono", "opt11KStereo", "opt22kMono", "opt22KStereo"}) {
            expect_contrast(caption, RectIn(window, caption));
        }
        for (const char* box : {"txtCD", "txtArchive"}) {
            const RECT rect = RectIn(window, box);
            const int edge = 2;
            expect_contrast(std::string(box) + " top",
                            {rect.left, rect.top, rect.right, rect.top + edge});
            expect_contrast(std::string(box) + " bottom",
                            {rect.left, rect.bottom - edge, rect.right, rect.bottom});
            expect_contrast(std::string(box) + " left",
                            {rect.left, rect.top, rect.left + edge, rect.bottom});
            expect_contrast(std::string(box) + " right",
                            {rect.right - edge, rect.top, rect.right, rect.bottom});
        }
        for (const char* figure : {"lblResMB", "lblextrares"}) {
            RECT inside = RectIn(window, figure);
            InflateRect(&inside, -2, -2); // within the frame, which is not greyed
            expect_contrast(std::string(figure) + ", greyed", inside);
        }
        const RECT rect = RectIn(window, "txtCD");
        const platform::PixelRect ring = platform::MarkRingAround(
            {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top});
        expect_contrast("the ring", {ring.x, rect.top, rect.left, rect.bottom});
        EXPECT_EQ(program.Close(), 0);
    }
}

} // namespace
} // namespace brindle::testing
