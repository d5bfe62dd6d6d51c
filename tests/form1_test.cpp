#include "simulated_form1.hpp"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace brindle::testing {
namespace {

using platform::ControlCall;
using platform::ErrorNumber;
using platform::EventKind;
using Captions = std::pair<std::string, std::string>;

const Captions kStartUp{"34.15", "GB - (34974.63 MB)"};

class Form1Test : public ::testing::Test {
protected:
    void Load() { sim.window.Load(); }
    [[nodiscard]] Captions Shown() const { return sim.Captions(); }
    [[nodiscard]] const auto& Failures() const { return sim.window.Failures(); }

    SimulatedForm1 sim;
};

TEST_F(Form1Test, IsEmptyUntilLoaded) {
    EXPECT_EQ(sim.window.TextOf("txtCD"), "");
    EXPECT_EQ(sim.window.TextOf("txtArchive"), "");
    EXPECT_TRUE(sim.window.IsSelected("opt11kmono"));
    EXPECT_EQ(Shown(), (Captions{"", "GB"}));
    const auto state = sim.form.State();
    EXPECT_EQ(state.CDBytes, 0.0F);
    EXPECT_EQ(state.ArchiveBytes, 0.0F);
    EXPECT_EQ(state.TotalBytes, 0.0F);
}

TEST_F(Form1Test, LoadShowsTheDefaultEstimate) {
    Load();
    EXPECT_EQ(sim.window.TextOf("txtCD"), "5");
    EXPECT_EQ(sim.window.TextOf("txtArchive"), "37");
    EXPECT_TRUE(sim.window.IsSelected("opt11kmono"));
    EXPECT_EQ(Shown(), kStartUp);
    const auto state = sim.form.State();
    EXPECT_EQ(state.CDBytes, 19051200512.0F);
    EXPECT_EQ(state.ArchiveBytes, 17622360064.0F);
    EXPECT_EQ(state.TotalBytes, 36673560576.0F);
    EXPECT_TRUE(Failures().empty());
    EXPECT_EQ(sim.window.CompletedEvents(), 1U);
}

// The CD write runs its whole change handler, captions included, before the archive write starts;
// the archive handler asks the options in order and stops at the selected first one.
TEST_F(Form1Test, LoadRunsBothRecomputationsInsideTheWrites) {
    sim.window.RecordCalls(true);
    Load();
    // Each write is preceded by the window's own read of the box, so that it raises the change
    // event only for a change.
    const std::vector<std::string> expected{
        "txtCD.Text",
        "txtCD.SetText(5)",
        "txtCD.Text",
        "lblResMB.SetCaption(17.74)",
        "lblextrares.SetCaption(GB - (18168.64 MB))",
        "txtArchive.Text",
        "txtArchive.SetText(37)",
        "opt11kmono.Value",
        "txtArchive.Text",
        "lblResMB.SetCaption(34.15)",
        "lblextrares.SetCaption(GB - (34974.63 MB))",
    };
    EXPECT_EQ(sim.window.CallLog(), expected);
}

TEST_F(Form1Test, AClickAsksTheOptionsInOrderUntilOneIsSelected) {
    Load();
    sim.window.RecordCalls(true);
    sim.window.Click("opt22KStereo");
    const std::vector<std::string> expected{
        "opt11kmono.Value",
        "opt11KStereo.Value",
        "opt22kMono.Value",
        "opt22KStereo.Value",
        "txtArchive.Text",
        "lblResMB.SetCaption(83.39)",
        "lblextrares.SetCaption(GB - (85392.61 MB))",
    };
    EXPECT_EQ(sim.window.CallLog(), expected);
}

struct ClickCase {
    const char* option;
    Captions shown;
};

TEST_F(Form1Test, EachQualityRecomputesTheArchiveFigure) {
    Load();
    const ClickCase cases[] = {
        {"opt22KStereo", {"83.39", "GB - (85392.61 MB)"}},
        {"opt11KStereo", {"50.57", "GB - (51780.63 MB)"}},
        {"opt22kMono", {"50.57", "GB - (51780.63 MB)"}},
        {"opt11kmono", kStartUp},
        {"opt11kmono", kStartUp}, // clicking the selected option again changes nothing
    };
    for (const auto& [option, shown] : cases) {
        sim.window.Click(option);
        EXPECT_EQ(Shown(), shown) << option;
        for (const char* other : kOptions) {
            EXPECT_EQ(sim.window.IsSelected(other), std::string_view(other) == option);
        }
    }
    EXPECT_TRUE(Failures().empty());
}

struct EditCase {
    const char* box;
    const char* text;
    Captions shown;
};

// Each box's handler recomputes its own figure and reuses the other one as stored.
TEST_F(Form1Test, EditingEitherBoxRecomputesFromItsText) {
    const EditCase cases[] = {
        {"txtCD", "", {"16.41", "GB - (16805.99 MB)"}},
        {"txtCD", "x", {"16.41", "GB - (16805.99 MB)"}},
        {"txtCD", "1", {"19.96", "GB - (20439.72 MB)"}},
        {"txtArchive", "", {"3.55", "GB - (3633.73 MB)"}},
        {"txtCD", "-2", {"-7.10", "GB - (-7267.46 MB)"}},
        {"txtCD", "1.5", {"5.32", "GB - (5450.59 MB)"}},
        {"txtCD", "2.5 days", {"8.87", "GB - (9084.32 MB)"}},
        {"txtArchive", "37", {"25.28", "GB - (25890.31 MB)"}},
        {"txtCD", "0", {"16.41", "GB - (16805.99 MB)"}},
    };
    Load();
    for (const auto& [box, text, shown] : cases) {
        sim.window.Replace(box, text);
        EXPECT_EQ(Shown(), shown) << box << " = \"" << text << '"';
    }
    EXPECT_TRUE(Failures().empty());
}

TEST_F(Form1Test, TypingRecomputesOnEveryKeystroke) {
    Load();
    sim.window.Replace("txtArchive", "");
    sim.window.RecordCalls(true);
    sim.window.Type("txtArchive", "1a0");
    std::vector<std::string> gigabyte_captions;
    for (const std::string& call : sim.window.CallLog()) {
        if (call.starts_with("lblResMB.SetCaption(")) {
            gigabyte_captions.push_back(call);
        }
    }
    // "1", "1a" and "1a0" all read as one day.
    EXPECT_EQ(gigabyte_captions, std::vector<std::string>(3, "lblResMB.SetCaption(18.19)"));
    sim.window.Backspace("txtArchive");
    sim.window.Backspace("txtArchive");
    sim.window.Backspace("txtArchive");
    sim.window.Backspace("txtArchive"); // already empty: no change, no event
    EXPECT_EQ(Shown(), (Captions{"17.74", "GB - (18168.64 MB)"}));
    EXPECT_EQ(sim.window.CompletedEvents(), 1U + 1U + 3U + 3U);
}

// A fault leaves both captions as they were and keeps the faulting figure non-finite, so that no
// later total is computed from a figure that no longer matches its box. Correcting the box that
// caused it recovers.
TEST_F(Form1Test, AnOverflowKeepsTheCaptionsAndFaultsUntilItsBoxIsCorrected) {
    Load();
    sim.window.Replace("txtCD", "1e30");
    ASSERT_EQ(Failures().size(), 1U);
    EXPECT_EQ(Failures()[0].event, (platform::EventSource{"txtCD", EventKind::Change}));
    EXPECT_EQ(Failures()[0].number, ErrorNumber::Overflow);
    EXPECT_EQ(Shown(), kStartUp);
    EXPECT_TRUE(std::isinf(sim.form.State().CDBytes));
    EXPECT_EQ(sim.form.State().TotalBytes, 36673560576.0F);

    sim.window.Replace("txtArchive", "1");
    sim.window.Click("opt22KStereo");
    EXPECT_EQ(Failures().size(), 3U);
    EXPECT_EQ(Shown(), kStartUp);

    sim.window.Replace("txtCD", "5");
    EXPECT_EQ(Failures().size(), 3U);
    EXPECT_EQ(Shown(), (Captions{"19.52", "GB - (19985.50 MB)"}));
}

TEST_F(Form1Test, AFasterQualityCanOverflowAndASlowerOneRecovers) {
    Load();
    sim.window.Replace("txtArchive", "7e29");
    EXPECT_EQ(Shown(), (Captions{"310499220000000000000000000000.00",
                                 "GB - (317951200000000000000000000000000.00 MB)"}));
    sim.window.Click("opt22KStereo");
    ASSERT_EQ(Failures().size(), 1U);
    EXPECT_EQ(Failures()[0].event, (platform::EventSource{"opt22KStereo", EventKind::Click}));
    EXPECT_TRUE(std::isinf(sim.form.State().ArchiveBytes));
    sim.window.Click("opt11kmono");
    EXPECT_EQ(Failures().size(), 1U);
    EXPECT_EQ(Shown().first, "310499220000000000000000000000.00");
}

TEST_F(Form1Test, ASumBeyondRangeFaultsInTheTotal) {
    Load();
    sim.window.Replace("txtCD", "8e28");
    sim.window.Replace("txtArchive", "7e29");
    ASSERT_EQ(Failures().size(), 1U);
    const auto state = sim.form.State();
    EXPECT_TRUE(std::isfinite(state.CDBytes));
    EXPECT_TRUE(std::isfinite(state.ArchiveBytes));
    EXPECT_TRUE(std::isinf(state.TotalBytes));
    EXPECT_EQ(Shown(), (Captions{"283885000000000000000000000000.00",
                                 "GB - (290698240000000000000000000000000.00 MB)"}));
    sim.window.Replace("txtCD", "");
    EXPECT_EQ(Failures().size(), 1U);
    EXPECT_EQ(Shown().first, "310499220000000000000000000000.00");
}

TEST_F(Form1Test, AnInfiniteDayCountFaults) {
    Load();
    sim.window.Replace("txtArchive", "-1e999");
    ASSERT_EQ(Failures().size(), 1U);
    EXPECT_EQ(Failures()[0].number, ErrorNumber::Overflow);
    EXPECT_EQ(Shown(), kStartUp);
}

// A failure inside the first write's change handler unwinds Form_Load too: the second default is
// never written.
TEST_F(Form1Test, AFailureDuringLoadEndsLoadBeforeTheSecondWrite) {
    sim.window.FailCalls("lblResMB", ControlCall::WriteCaption);
    sim.window.RecordCalls(true);
    Load();
    ASSERT_EQ(Failures().size(), 1U);
    EXPECT_EQ(Failures()[0].event, (platform::EventSource{"Form1", EventKind::Load}));
    EXPECT_EQ(Failures()[0].number, ErrorNumber::ControlCallFailed);
    EXPECT_EQ(sim.window.TextOf("txtCD"), "5");
    EXPECT_EQ(sim.window.TextOf("txtArchive"), "");
    EXPECT_EQ(sim.window.CallLog(),
              (std::vector<std::string>{"txtCD.Text", "txtCD.SetText(5)", "txtCD.Text"}));
    EXPECT_EQ(sim.window.CompletedEvents(), 0U);
}

struct FailedCallCase {
    const char* control;
    ControlCall call;
    const char* action_box; // the box edited to trigger the handlers
    std::vector<std::string> calls_made;
};

// A failed control call ends the handler at once; nothing after it runs.
TEST_F(Form1Test, AFailedControlCallEndsTheHandler) {
    const FailedCallCase cases[] = {
        {"txtCD", ControlCall::ReadText, "txtCD", {}},
        {"opt11kmono", ControlCall::ReadValue, "txtArchive", {}},
        {"txtArchive", ControlCall::ReadText, "txtArchive", {"opt11kmono.Value"}},
        {"lblResMB",
         ControlCall::WriteCaption,
         "txtArchive",
         {"opt11kmono.Value", "txtArchive.Text"}},
        {"lblextrares",
         ControlCall::WriteCaption,
         "txtCD",
         {"txtCD.Text", "lblResMB.SetCaption(16.41)"}},
    };
    for (const auto& [control, call, action_box, calls_made] : cases) {
        SimulatedForm1 fresh;
        fresh.window.Load();
        fresh.window.FailCalls(control, call);
        fresh.window.RecordCalls(true);
        fresh.window.Replace(action_box, "");
        EXPECT_EQ(fresh.window.CallLog(), calls_made) << control;
        ASSERT_EQ(fresh.window.Failures().size(), 1U) << control;
        EXPECT_EQ(fresh.window.Failures()[0].number, ErrorNumber::ControlCallFailed);
        EXPECT_NE(fresh.window.Failures()[0].description.find(control), std::string::npos);

        fresh.window.HealCalls();
        fresh.window.Replace(action_box, "2");
        fresh.window.Replace(action_box, "");
        EXPECT_EQ(fresh.window.Failures().size(), 1U) << control;
    }
}

TEST_F(Form1Test, AFailedReadKeepsTheStoredFigure) {
    Load();
    sim.window.FailCalls("txtCD", ControlCall::ReadText);
    sim.window.Replace("txtCD", "1");
    EXPECT_EQ(sim.form.State().CDBytes, 19051200512.0F);
    EXPECT_EQ(Shown(), kStartUp);
    sim.window.HealCalls();
    sim.window.Type("txtCD", "0");
    EXPECT_EQ(sim.form.State().CDBytes, 38102401024.0F);
}

} // namespace
} // namespace brindle::testing
