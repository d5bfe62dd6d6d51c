// What Windows' accessibility layer makes of the window, and how the window fares on a system
// without the per-monitor DPI functions (Windows 7 to Windows 10 1511).

#include "accessible_text.hpp"
#include "app/program_record.hpp"
#include "platform/win32/dpi.hpp"
#include "win32_fixture.hpp"

#include <string>
#include <vector>

namespace brindle::testing {
namespace {

std::string NameOf(Win32Form1& form, HWND child) {
    if (child == form.window.Announcements().Handle()) {
        return "(announcer)";
    }
    for (const platform::ControlDesign& control : app::BrindleWindowDesign().controls) {
        if (form.window.Control(control.name) == child) {
            return std::string(control.name);
        }
    }
    return "(not a control)";
}

// Windows (its MSAA and UI Automation proxies) names an edit control after the static just
// before it in z-order, so each caption is created immediately before the control it names.
TEST(Win32Accessibility, EachCaptionComesJustBeforeItsControlInZOrder) {
    Win32Form1 form;
    std::vector<std::string> z_order;
    for (HWND child = GetWindow(form.window.Handle(), GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        z_order.push_back(NameOf(form, child));
    }
    EXPECT_EQ(z_order, (std::vector<std::string>{
                           "Label1", "txtCD", "Label2", "txtArchive", "opt11kmono", "opt11KStereo",
                           "opt22kMono", "opt22KStereo", "Label3", "lblResMB", "lblextrares",
                           "lblUsingcompression", "(announcer)"}));
    // Labels are no tab stops, so the dialog manager passes over them.
    for (const char* label : {"Label1", "Label2", "Label3"}) {
        EXPECT_EQ(GetWindowLongPtrW(form.Control(label), GWL_STYLE) & WS_TABSTOP, 0) << label;
    }
}

// Each box is named as on every desktop: the CD box by its caption, the archive box by more than
// its caption ("Days at:") says.
TEST(Win32Accessibility, TheBoxesAreNamedAsOnEveryDesktop) {
    Win32Form1 form;
    CoInitialize(nullptr);
    for (const auto& [box, name] : {std::pair{"txtCD", L"Days at CD Quality"},
                                    std::pair{"txtArchive", L"Days at archive quality"}}) {
        EXPECT_EQ(
            ReadOrHanded(form.Control(box), platform::win32::AccessibleProperty::Name, form.handed),
            name)
            << box;
    }
    CoUninitialize();
}

struct Placement {
    SIZE frame;
    RECT client;
    std::vector<RECT> controls;
};

Placement PlacementOf(const Win32Form1& form) {
    Placement placement{};
    RECT frame{};
    GetWindowRect(form.window.Handle(), &frame);
    placement.frame = {frame.right - frame.left, frame.bottom - frame.top};
    GetClientRect(form.window.Handle(), &placement.client);
    for (const platform::ControlDesign& control : app::BrindleWindowDesign().controls) {
        RECT rect{};
        GetWindowRect(form.window.Control(control.name), &rect);
        MapWindowPoints(nullptr, form.window.Handle(), reinterpret_cast<POINT*>(&rect), 2);
        placement.controls.push_back(rect);
    }
    return placement;
}

// Without the per-monitor functions every window has the system DPI: the window comes out the
// same, frame included, and works the same.
TEST(Win32Form1, WithoutThePerMonitorDpiFunctionsLaysOutAndWorksTheSame) {
    const Placement newer = PlacementOf(Win32Form1());

    platform::win32::dpi::HideNewerFunctions(true);
    const Placement older = [] {
        const Win32Form1 form;
        EXPECT_EQ(form.Captions(),
                  (std::pair<std::string, std::string>{"34.15", "GB - (34974.63 MB)"}));
        return PlacementOf(form);
    }();
    platform::win32::dpi::HideNewerFunctions(false);

    EXPECT_EQ(older.frame.cx, newer.frame.cx);
    EXPECT_EQ(older.frame.cy, newer.frame.cy);
    EXPECT_TRUE(EqualRect(&older.client, &newer.client));
    ASSERT_EQ(older.controls.size(), newer.controls.size());
    for (std::size_t i = 0; i < older.controls.size(); ++i) {
        EXPECT_TRUE(EqualRect(&older.controls[i], &newer.controls[i]))
            << app::BrindleWindowDesign().controls[i].name;
    }
}

} // namespace
} // namespace brindle::testing
