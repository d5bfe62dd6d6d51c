// What every backend's window shows when an event fails, checked headless on the simulated
// backend, which shares the window core with the Qt and Win32 windows; the checks that every
// backend runs are in error_display_cases.hpp.

#include "error_display_cases.hpp"
#include "expected_form1.hpp"
#include "simulated_form1.hpp"

#include <stdexcept>

#include <gtest/gtest.h>

namespace brindle::testing {
namespace {

constexpr const char* kOverflow = "Overflow: the estimate is too large to compute";

struct Loaded : SimulatedForm1 {
    Loaded() { window.Load(); }
};

// The simulated window as the shared error-display checks drive it.
struct ScriptedSimulatedWindow {
    ScriptedSimulatedWindow() { window.Attach(logic); }

    void Load() { window.Load(); }
    void Change(std::string_view box) { window.Type(box, "1"); }
    void Click(std::string_view option) { window.Click(option); }
    [[nodiscard]] std::string MarkOf(std::string_view name) const {
        return std::string(window.MarkOf(name));
    }
    [[nodiscard]] bool IsEnabled(std::string_view name) const { return window.IsEnabled(name); }
    [[nodiscard]] int Beeps() const { return window.Beeps(); }
    static constexpr const char* kUncheckedRing = "the simulated window draws nothing";

    platform::SimulatedWindow window{app::BrindleWindowDesign()};
    ScriptedLogic logic;
};

TEST(WindowErrorDisplay, MarksWhatFailedUntilAnEventCompletes) {
    CheckErrorDisplay<ScriptedSimulatedWindow>();
}

// A program's write raises the change event only when it changes the text, though the simulated
// box, as a native edit control does, reports every write.
TEST(WindowControls, AWriteRaisesAChangeOnlyWhenItChangesTheText) {
    Loaded sim;
    sim.window.RecordCalls(true);
    sim.window.TextBoxNamed("txtCD").SetText("5");
    EXPECT_EQ(sim.window.CallLog(), (std::vector<std::string>{"txtCD.Text", "txtCD.SetText(5)"}))
        << "the same text: no handler ran";
    sim.window.ClearCallLog();
    sim.window.TextBoxNamed("txtCD").SetText("6");
    EXPECT_EQ(sim.window.CallLog(),
              (std::vector<std::string>{"txtCD.Text", "txtCD.SetText(6)", "txtCD.Text",
                                        "lblResMB.SetCaption(37.70)",
                                        "lblextrares.SetCaption(GB - (38608.36 MB))"}))
        << "a new text: txtCD_Change ran";
}

// What a screen reader is told: nothing at start-up, each changed result once the user pauses
// (the backend keeps only the last of a run of keystrokes), an error at once with its reason and
// that the figures are out of date, and its clearing at once with the new result.
TEST(WindowAnnouncements, SayEachResultAfterAPauseAndEachErrorAndItsClearingAtOnce) {
    using platform::Announcement;
    using Said = platform::SimulatedWindow::Said;
    Loaded sim;
    EXPECT_TRUE(sim.window.Announcements().empty());

    sim.window.Replace("txtCD", "10");
    sim.window.Click("opt22KStereo");
    const auto sentence = [&] {
        const auto [gigabytes, megabytes] = sim.Captions();
        return "You will need: " + gigabytes + " " + megabytes;
    };
    ASSERT_EQ(sim.window.Announcements().size(), 2U);
    EXPECT_EQ(sim.window.Announcements().back(), (Said{sentence(), Announcement::AfterPause}));

    sim.window.Replace("txtCD", "1e38");
    EXPECT_EQ(
        sim.window.Announcements().back(),
        (Said{std::string(kOverflow) + ". The figures shown are out of date.", Announcement::Now}));
    for (const char* figure : {"lblResMB", "lblextrares"}) {
        EXPECT_EQ(sim.window.NoteOf(figure), "out of date") << figure;
    }
    EXPECT_EQ(sim.window.NoteOf("Label3"), "");

    sim.window.Replace("txtCD", "");
    EXPECT_EQ(sim.window.Announcements().back(),
              (Said{"Error cleared. " + sentence(), Announcement::Now}));
    EXPECT_EQ(sim.window.NoteOf("lblResMB"), "");
    EXPECT_EQ(sim.window.Announcements().size(), 4U);
}

// The simulated window measures every caption as the design's own font does: each control sits
// on its design rectangle, at 15 twips a pixel, and after a longer figure nothing moves.
TEST(SimulatedWindow, LaysEveryControlOnItsDesignRectangle) {
    Loaded sim;
    sim.window.Replace("txtCD", "123456789");
    const platform::WindowLayout& layout = sim.window.CurrentLayout();
    EXPECT_EQ(layout.client, (platform::PixelSize{280, 168}));
    ASSERT_EQ(layout.controls.size(), kExpectedControls.size());
    for (std::size_t i = 0; i < kExpectedControls.size(); ++i) {
        const ExpectedControl& control = kExpectedControls[i];
        EXPECT_EQ(layout.controls[i],
                  (platform::PixelRect{control.left / 15, control.top / 15, control.width / 15,
                                       control.height / 15}))
            << control.name;
    }
}

// A window core whose backend never opened: using a control is a programming error that says so,
// not a call through a null pointer.
TEST(WindowControls, AreAnErrorBeforeTheWindowOpens) {
    struct Unopened final : platform::WindowCore {
        Unopened() : WindowCore(app::BrindleWindowDesign()) {}
    } window;
    EXPECT_THROW((void)window.TextBoxNamed("txtCD").Text(), std::logic_error);
    EXPECT_THROW(window.LabelNamed("lblResMB").SetCaption("1"), std::logic_error);
}

} // namespace
} // namespace brindle::testing
