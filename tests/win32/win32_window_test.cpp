#include "app/program_record.hpp"
#include "expected_form1.hpp"
#include "form1_cases.hpp"
#include "win32_fixture.hpp"

#include <algorithm>
#include <string>
#include <vector>

namespace brindle::testing {
namespace {

// The dialog font is pinned, as in the Qt tests, so that geometry does not depend on the fonts a
// machine happens to have: DejaVu Sans Condensed at 11 pixels has a 13-pixel line, the reference
// size at which 15 twips make one pixel, and captions about as wide as the design's.
class ReferenceDialogFont : public ::testing::Environment {
public:
    void SetUp() override {
        NONCLIENTMETRICSW metrics{};
        metrics.cbSize = sizeof metrics;
        SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
        metrics.lfMessageFont.lfHeight = -11;
        wcscpy_s(metrics.lfMessageFont.lfFaceName, L"DejaVu Sans Condensed");
        ASSERT_TRUE(SystemParametersInfoW(SPI_SETNONCLIENTMETRICS, sizeof metrics, &metrics, 0));
    }
};
const auto* const kReferenceFont =
    ::testing::AddGlobalTestEnvironment(new ReferenceDialogFont); // NOLINT: gtest takes ownership

TEST(Win32Form1, IsAFixedDialogWithACloseBox) {
    const Win32Form1 form;
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(form.window.Handle(), GWL_STYLE));
    EXPECT_NE(style & WS_SYSMENU, 0U);
    EXPECT_EQ(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0U);
    std::wstring title(64, L'\0');
    title.resize(static_cast<std::size_t>(
        GetWindowTextW(form.window.Handle(), title.data(), static_cast<int>(title.size()))));
    EXPECT_EQ(title.rfind(L"Brindle DSC - by ", 0), 0U);
}

TEST(Win32Form1, PlacesEveryControlOnItsDesignRectangleAt96Dpi) {
    const Win32Form1 form;
    const platform::TwipsScale scale = form.window.Scale();
    RECT client{};
    GetClientRect(form.window.Handle(), &client);
    EXPECT_EQ(client.right, scale.ToPixels(kExpectedClientWidth));
    EXPECT_EQ(client.bottom, scale.ToPixels(kExpectedClientHeight));
    std::vector<RECT> placed;
    for (const ExpectedControl& control : kExpectedControls) {
        RECT rect{};
        GetWindowRect(form.window.Control(control.name), &rect);
        MapWindowPoints(nullptr, form.window.Handle(), reinterpret_cast<POINT*>(&rect), 2);
        placed.push_back(rect);
        const platform::PixelRect expected =
            scale.ToPixels({control.left, control.top, control.width, control.height});
        EXPECT_EQ(rect.left, expected.x) << control.name;
        EXPECT_EQ(rect.top, expected.y) << control.name;
        if (!control.style.sizes_to_caption) {
            EXPECT_EQ(rect.right - rect.left, expected.width) << control.name;
            EXPECT_EQ(rect.bottom - rect.top, expected.height) << control.name;
        }
        EXPECT_LE(rect.right, client.right) << control.name;
        EXPECT_LE(rect.bottom, client.bottom) << control.name;
    }
    for (std::size_t i = 0; i < placed.size(); ++i) {
        for (std::size_t j = i + 1; j < placed.size(); ++j) {
            RECT overlap{};
            EXPECT_FALSE(IntersectRect(&overlap, &placed[i], &placed[j]))
                << kExpectedControls[i].name << " overlaps " << kExpectedControls[j].name;
        }
    }
    ASSERT_EQ(scale.LineHeight(), 13);
    EXPECT_EQ(client.right, 280);
    EXPECT_EQ(client.bottom, 168);

    // The compression note wraps onto two lines; the gigabyte figure is framed and centred.
    const auto note = std::ranges::find(kExpectedControls, std::string_view("lblUsingcompression"),
                                        &ExpectedControl::name);
    const RECT& note_rect = placed[static_cast<std::size_t>(note - kExpectedControls.begin())];
    EXPECT_EQ(note_rect.bottom - note_rect.top, 2 * scale.LineHeight());
    const auto figure_style =
        static_cast<DWORD>(GetWindowLongPtrW(form.Control("lblResMB"), GWL_STYLE));
    EXPECT_NE(figure_style & WS_BORDER, 0U);
    EXPECT_EQ(figure_style & SS_TYPEMASK, static_cast<DWORD>(SS_CENTER));
}

// The user picks a larger message font while the program runs: the layout scales with it.
TEST(Win32Form1, FollowsAMessageFontChangeWhileRunning) {
    Win32Form1 form;
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    const LOGFONTW reference = metrics.lfMessageFont;
    metrics.lfMessageFont.lfHeight = -16;
    wcscpy_s(metrics.lfMessageFont.lfFaceName, L"DejaVu Sans");
    ASSERT_TRUE(SystemParametersInfoW(SPI_SETNONCLIENTMETRICS, sizeof metrics, &metrics, 0));
    SendMessageW(form.window.Handle(), WM_SETTINGCHANGE, SPI_SETNONCLIENTMETRICS, 0);
    const platform::TwipsScale scale = form.window.Scale();
    RECT client{};
    GetClientRect(form.window.Handle(), &client);

    metrics.lfMessageFont = reference;
    SystemParametersInfoW(SPI_SETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    EXPECT_GT(scale.LineHeight(), 13);
    EXPECT_EQ(client.right, scale.ToPixels(4200));
    EXPECT_EQ(client.bottom, scale.ToPixels(2520));
}

// A caption label is wide enough for its text as the static control draws it: the control's own
// drawing holds every pixel of ink that the same text drawn without a clip has. A label exactly
// as wide as the text's advance lost the last glyph's overhang ("You will need" without its
// colon), and so did one as wide as the advance and the overhang where the rasteriser places
// glyphs further right than their advances say (Wine's, with Liberation Sans for Tahoma). Checked
// with three dialog fonts, the system's own among them, at 96, 120 and 144 dpi, on Wine's null
// and X11 drivers.
TEST(Win32Form1, DrawsEveryCaptionWholeAtEveryDpi) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    const LOGFONTW reference = metrics.lfMessageFont;
    for (const wchar_t* face : {L"DejaVu Sans Condensed", L"Tahoma", L"MS Shell Dlg"}) {
        metrics.lfMessageFont.lfHeight = -11;
        wcscpy_s(metrics.lfMessageFont.lfFaceName, face);
        ASSERT_TRUE(SystemParametersInfoW(SPI_SETNONCLIENTMETRICS, sizeof metrics, &metrics, 0));
        Win32Form1 form;
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
                Canvas drawn(client.right, client.bottom, background);
                SendMessageW(label, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(drawn.Get()),
                             PRF_CLIENT | PRF_ERASEBKGND);

                const std::wstring text = platform::win32::Widen(form.Text(control.name));
                Canvas whole(client.right * 3 + 20, client.bottom, background);
                SelectObject(whole.Get(),
                             reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0)));
                SetBkMode(whole.Get(), TRANSPARENT);
                SetTextColor(whole.Get(), GetSysColor(COLOR_WINDOWTEXT));
                RECT unclipped{0, 0, client.right * 3 + 20, client.bottom};
                DrawTextW(whole.Get(), text.c_str(), static_cast<int>(text.size()), &unclipped,
                          DT_LEFT | DT_EXPANDTABS | DT_NOPREFIX);
                EXPECT_GT(whole.Ink(background), 0) << control.name;
                EXPECT_EQ(drawn.Ink(background), whole.Ink(background))
                    << platform::win32::Narrow(face) << " at " << dpi << " dpi: " << control.name
                    << " is " << client.right << " px wide";
            }
        }
    }
    metrics.lfMessageFont = reference;
    SystemParametersInfoW(SPI_SETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
}

// Form1 on the Windows controls, worked through the messages the user's keys and clicks produce.
class Win32Driver {
public:
    static constexpr int kRandomEvents = 1500;

    void Type(std::string_view box, std::string_view keys) {
        form.Focus(box);
        SendMessageW(Control(box), EM_SETSEL, 0x7FFFFFFF, 0x7FFFFFFF);
        form.Type(platform::win32::Widen(keys)); // '\b' is Backspace to an edit control
    }
    void Paste(std::string_view box, std::string_view text) {
        const std::wstring pasted = platform::win32::Widen(text);
        SendMessageW(Control(box), EM_SETSEL, 0, -1);
        SendMessageW(Control(box), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(pasted.c_str()));
        form.Pump();
    }
    void Click(std::string_view option) {
        SendMessageW(Control(option), BM_CLICK, 0, 0);
        form.Pump();
    }
    [[nodiscard]] std::string Text(std::string_view control) const { return form.Text(control); }
    [[nodiscard]] bool Checked(std::string_view option) const { return form.Checked(option); }
    [[nodiscard]] bool IsEnabled(std::string_view control) const {
        return IsWindowEnabled(Control(control)) != FALSE;
    }
    [[nodiscard]] std::string MarkOf(std::string_view control) const {
        return platform::win32::Narrow(form.window.ToolTipText(control));
    }
    platform::ControlSet& Controls() { return form.window; }

    void Up(std::string_view option) {
        form.Focus(option);
        form.Key(VK_UP);
    }
    [[nodiscard]] std::string TabFrom(std::string_view control) {
        form.Focus(control);
        form.Key(VK_TAB);
        for (const platform::ControlDesign& design : app::BrindleWindowDesign().controls) {
            if (form.window.Control(design.name) == GetFocus()) {
                return std::string(design.name);
            }
        }
        return "(not a control)";
    }
    [[nodiscard]] bool CanUndo(std::string_view box) const {
        return SendMessageW(Control(box), EM_CANUNDO, 0, 0) != 0;
    }
    void Undo(std::string_view box) {
        SendMessageW(Control(box), WM_UNDO, 0, 0);
        form.Pump();
    }

private:
    [[nodiscard]] HWND Control(std::string_view control) const { return form.Control(control); }

    Win32Form1 form;
};

} // namespace

INSTANTIATE_TYPED_TEST_SUITE_P(Win32, Form1Behaviour, Win32Driver);

} // namespace brindle::testing
