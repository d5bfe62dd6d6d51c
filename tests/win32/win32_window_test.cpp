#include "app/program_record.hpp"
#include "expected_form1.hpp"
#include "shared_cases.hpp"
#include "simulated_form1.hpp"
#include "win32_fixture.hpp"

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace brindle::testing {
namespace {

using Captions = std::pair<std::string, std::string>;
const Captions kStartUp{"34.15", "GB - (34974.63 MB)"};

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

TEST(Win32Form1, StartsWithTheDefaultEstimate) {
    const Win32Form1 form;
    EXPECT_EQ(form.Text("txtCD"), "5");
    EXPECT_EQ(form.Text("txtArchive"), "37");
    EXPECT_TRUE(form.Checked("opt11kmono"));
    EXPECT_FALSE(form.Checked("opt22KStereo"));
    EXPECT_EQ(form.Captions(), kStartUp);
    EXPECT_EQ(form.Text("lblUsingcompression"), "Using Intel/DMA 4:1 Compression");
}

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

TEST(Win32Form1, RecomputesOnEveryKeystroke) {
    Win32Form1 form;
    form.Focus("txtArchive");
    SendMessageW(form.Control("txtArchive"), EM_SETSEL, 2, 2);
    form.Key(VK_BACK);
    form.Type(L"\b");
    EXPECT_EQ(form.Text("txtArchive"), "");
    EXPECT_EQ(form.Captions(), (Captions{"17.74", "GB - (18168.64 MB)"}));
    const std::vector<std::pair<wchar_t, Captions>> keys{
        {L'1', {"18.19", "GB - (18622.86 MB)"}},
        {L'.', {"18.19", "GB - (18622.86 MB)"}},
        {L'5', {"18.41", "GB - (18849.97 MB)"}},
        {L'x', {"18.41", "GB - (18849.97 MB)"}},
    };
    for (const auto& [key, shown] : keys) {
        form.Type(std::wstring(1, key));
        EXPECT_EQ(form.Captions(), shown) << form.Text("txtArchive");
    }
}

// The control contract: a program's write forgets what the user could undo, even when it writes
// the text the box already holds; Ctrl+Z then brings back nothing from before it.
TEST(Win32Form1, AProgramsWriteForgetsWhatCouldBeUndone) {
    Win32Form1 form;
    HWND const box = form.Control("txtCD");
    form.Focus("txtCD");
    for (const char* written : {"7", "71"}) {
        SendMessageW(box, EM_SETSEL, 0x7fff, 0x7fff);
        form.Type(L"1");
        ASSERT_NE(SendMessageW(box, EM_CANUNDO, 0, 0), 0);
        form.window.TextBoxNamed("txtCD").SetText(written);
        EXPECT_EQ(SendMessageW(box, EM_CANUNDO, 0, 0), 0) << written;
        SendMessageW(box, WM_UNDO, 0, 0);
        form.Pump();
        EXPECT_EQ(form.Text("txtCD"), written);
    }
}

TEST(Win32Form1, OptionsRecomputeWhenClickedOrMovedToWithArrows) {
    Win32Form1 form;
    SendMessageW(form.Control("opt22KStereo"), BM_CLICK, 0, 0);
    EXPECT_TRUE(form.Checked("opt22KStereo"));
    EXPECT_FALSE(form.Checked("opt11kmono"));
    EXPECT_EQ(form.Captions(), (Captions{"83.39", "GB - (85392.61 MB)"}));

    form.Focus("opt22KStereo");
    form.Key(VK_UP);
    EXPECT_TRUE(form.Checked("opt22kMono"));
    EXPECT_EQ(form.Captions(), (Captions{"50.57", "GB - (51780.63 MB)"}));
    form.Key(VK_UP);
    form.Key(VK_UP);
    EXPECT_TRUE(form.Checked("opt11kmono"));
    EXPECT_EQ(form.Captions(), kStartUp);
}

// Tab visits the boxes, then the option group once, at its selected option.
TEST(Win32Form1, TabsThroughBothBoxesThenTheOptionGroup) {
    Win32Form1 form;
    SendMessageW(form.Control("opt22kMono"), BM_CLICK, 0, 0);
    form.Focus("txtCD");
    std::vector<HWND> visited;
    for (int i = 0; i < 3; ++i) {
        form.Key(VK_TAB);
        visited.push_back(GetFocus());
    }
    EXPECT_EQ(visited, (std::vector<HWND>{form.Control("txtArchive"), form.Control("opt22kMono"),
                                          form.Control("txtCD")}));
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

TEST(Win32Form1, AcceptsAPastedTextOfAnyLength) {
    Win32Form1 form;
    const std::wstring days = L"1." + std::wstring(40'500, L'0');
    SendMessageW(form.Control("txtArchive"), EM_SETSEL, 0, -1);
    SendMessageW(form.Control("txtArchive"), EM_REPLACESEL, TRUE,
                 reinterpret_cast<LPARAM>(days.c_str()));
    form.Pump();
    EXPECT_EQ(form.Text("txtArchive").size(), days.size());
    EXPECT_EQ(form.Captions(), (Captions{"18.19", "GB - (18622.86 MB)"}));
}

// An overflow is shown without a dialog: the previous figures stay but are greyed, and the box
// that caused it says why in its tool tip. The next event that completes clears it all.
TEST(Win32Form1, ShowsAnOverflowUntilTheNextGoodKeystroke) {
    Win32Form1 form;
    form.Focus("txtCD");
    SendMessageW(form.Control("txtCD"), EM_SETSEL, 1, 1);
    form.Type(L"e28");
    const Captions before = form.Captions();
    form.Type(L"9");
    EXPECT_EQ(form.Captions(), before);
    EXPECT_FALSE(IsWindowEnabled(form.Control("lblResMB")));
    EXPECT_FALSE(IsWindowEnabled(form.Control("lblextrares")));
    EXPECT_EQ(form.window.ToolTipText("txtCD"), L"Overflow: the estimate is too large to compute");
    EXPECT_EQ(form.window.ToolTipText("txtArchive"), L"");

    form.Key(VK_BACK);
    EXPECT_EQ(form.Text("txtCD"), "5e28");
    EXPECT_EQ(form.Captions(), before);
    EXPECT_TRUE(IsWindowEnabled(form.Control("lblResMB")));
    EXPECT_TRUE(IsWindowEnabled(form.Control("lblextrares")));
    EXPECT_EQ(form.window.ToolTipText("txtCD"), L"");
}

// The same texts and option give the same captions as on Linux, byte for byte.
TEST(Win32Form1, ShowsTheSharedCaptions) {
    Win32Form1 form;
    for (const SharedCase& shared : kSharedCases) {
        SetWindowTextW(form.Control("txtCD"), platform::win32::Widen(shared.cd_days).c_str());
        SetWindowTextW(form.Control("txtArchive"),
                       platform::win32::Widen(shared.archive_days).c_str());
        SendMessageW(form.Control(shared.option), BM_CLICK, 0, 0);
        form.Pump();
        EXPECT_EQ(form.Captions(), (Captions{shared.gigabytes, shared.megabytes}))
            << shared.cd_days << " / " << shared.archive_days << " / " << shared.option;
    }
}

TEST(Win32Form1Property, CaptionsMatchAFreshWindowAfterRandomKeystrokesAndClicks) {
    constexpr int kEvents = 1500;
    const std::wstring keys = L"0159.-+ ae\b";
    Win32Form1 form;
    std::mt19937 random(20261208);
    const auto pick = [&](std::size_t count) {
        return std::uniform_int_distribution<std::size_t>(0, count - 1)(random);
    };
    for (int event = 0; event < kEvents; ++event) {
        if (pick(5) == 0) {
            SendMessageW(form.Control(kOptions[pick(std::size(kOptions))]), BM_CLICK, 0, 0);
        } else {
            const char* box = pick(2) == 0 ? "txtCD" : "txtArchive";
            form.Focus(box);
            SendMessageW(form.Control(box), EM_SETSEL, 0x7FFFFFFF, 0x7FFFFFFF);
            const wchar_t key = keys[pick(keys.size())];
            // Short texts: long enough for exponents, too short to overflow.
            if (form.Text(box).size() < 3 || key == L'\b') {
                form.Type(std::wstring(1, key));
            }
        }
        form.Pump();
        ASSERT_EQ(form.Captions(),
                  FreshCaptions(form.Text("txtCD"), form.Text("txtArchive"),
                                [&](const char* option) { return form.Checked(option); }))
            << "event " << event << ": txtCD \"" << form.Text("txtCD") << "\", txtArchive \""
            << form.Text("txtArchive") << '"';
    }
}

// A caption label is wide enough for its text as the static control draws it: the control's own
// drawing holds every pixel of ink that the same text drawn without a clip has. A label exactly
// as wide as the text's advance lost the last glyph's overhang ("You will need" without its
// colon). Checked with two dialog fonts at 96, 120 and 144 dpi.
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
                const std::string name(control.name);
                HWND const label = form.Control(name.c_str());
                RECT client{};
                GetClientRect(label, &client);
                const COLORREF background = GetSysColor(COLOR_BTNFACE);
                Canvas drawn(client.right, client.bottom, background);
                SendMessageW(label, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(drawn.Get()),
                             PRF_CLIENT | PRF_ERASEBKGND);

                const std::wstring text = platform::win32::Widen(form.Text(name.c_str()));
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

} // namespace
} // namespace brindle::testing
