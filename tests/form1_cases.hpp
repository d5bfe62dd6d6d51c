#pragma once

// What Form1 does on every backend, checked the same way on each: one typed test suite, which a
// backend's test instantiates with a driver of its own window, as the user works it:
//
//     void Type(std::string_view box, std::string_view keys); keys typed at the end of the box's
//                                                             text, '\b' being Backspace
//     void Paste(std::string_view box, std::string_view text); its whole text replaced by a paste
//     void Click(std::string_view option);
//     std::string Text(std::string_view control);   a box's text or a label's caption
//     bool Checked(std::string_view option);
//     bool IsEnabled(std::string_view control);
//     std::string MarkOf(std::string_view control); why it is marked as failed; empty when not
//     platform::ControlSet& Controls();             the window as Form1's logic sees it
//     static constexpr int kRandomEvents;           how many random events the property check runs
//
// and, for the keyboard's ways through the window, which a driver without a keyboard replaces by
// `static constexpr const char* kNoKeyboard`, saying why (the run prints it as a skip):
//
//     void Up(std::string_view option);             the Up arrow, on that option
//     std::string TabFrom(std::string_view control); Tab, from there: the control that has the
//     focus bool CanUndo(std::string_view box); void Undo(std::string_view box); Ctrl+Z
//
// A driver's window is Form1, loaded and shown, new for each check.

#include "shared_cases.hpp"
#include "simulated_form1.hpp"

#include <random>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

namespace brindle::testing {

template <class Driver>
class Form1Behaviour : public ::testing::Test {
protected:
    using Captions = std::pair<std::string, std::string>;
    static inline const Captions kStartUp{"34.15", "GB - (34974.63 MB)"};

    [[nodiscard]] Captions Shown() { return {window.Text("lblResMB"), window.Text("lblextrares")}; }
    // What a freshly loaded window shows for what this one shows now.
    [[nodiscard]] Captions Fresh() {
        return FreshCaptions(window.Text("txtCD"), window.Text("txtArchive"),
                             [&](const char* option) { return window.Checked(option); });
    }
    void SkipWithoutKeyboard() {
        if constexpr (requires { Driver::kNoKeyboard; }) {
            GTEST_SKIP() << Driver::kNoKeyboard;
        }
    }

    Driver window;
};

TYPED_TEST_SUITE_P(Form1Behaviour);

TYPED_TEST_P(Form1Behaviour, StartsWithTheDefaultEstimate) {
    EXPECT_EQ(this->window.Text("txtCD"), "5");
    EXPECT_EQ(this->window.Text("txtArchive"), "37");
    EXPECT_TRUE(this->window.Checked("opt11kmono"));
    EXPECT_FALSE(this->window.Checked("opt22KStereo"));
    EXPECT_EQ(this->Shown(), this->kStartUp);
    EXPECT_EQ(this->window.Text("lblUsingcompression"), "Using Intel/DMA 4:1 Compression");
}

TYPED_TEST_P(Form1Behaviour, RecomputesOnEveryKeystroke) {
    struct Keystroke {
        const char* key;
        const char* text_after;
        std::pair<std::string, std::string> shown;
    };
    const Keystroke keys[] = {
        {"\b", "3", {"19.07", "GB - (19531.29 MB)"}},
        {"\b", "", {"17.74", "GB - (18168.64 MB)"}},
        {"1", "1", {"18.19", "GB - (18622.86 MB)"}},
        {".", "1.", {"18.19", "GB - (18622.86 MB)"}},
        {"5", "1.5", {"18.41", "GB - (18849.97 MB)"}},
        {"x", "1.5x", {"18.41", "GB - (18849.97 MB)"}},
    };
    for (const auto& [key, text_after, shown] : keys) {
        this->window.Type("txtArchive", key);
        EXPECT_EQ(this->window.Text("txtArchive"), text_after);
        EXPECT_EQ(this->Shown(), shown) << "after \"" << text_after << '"';
    }
}

// The same texts and option give the same captions on every backend, byte for byte.
TYPED_TEST_P(Form1Behaviour, ShowsTheSharedCaptions) {
    for (const SharedCase& shared : kSharedCases) {
        this->window.Paste("txtCD", shared.cd_days);
        this->window.Paste("txtArchive", shared.archive_days);
        this->window.Click(shared.option);
        EXPECT_EQ(this->Shown(),
                  (std::pair<std::string, std::string>{shared.gigabytes, shared.megabytes}))
            << shared.cd_days << " / " << shared.archive_days << " / " << shared.option;
    }
}

TYPED_TEST_P(Form1Behaviour, AcceptsAPastedTextOfAnyLength) {
    const std::string days = "1." + std::string(40'500, '0');
    this->window.Paste("txtArchive", days);
    EXPECT_EQ(this->window.Text("txtArchive").size(), days.size());
    EXPECT_EQ(this->Shown(), (std::pair<std::string, std::string>{"18.19", "GB - (18622.86 MB)"}));
}

// An overflow is shown without a dialog: the previous figures stay but are greyed, and the box
// that caused it says why. The next event that completes clears it all.
TYPED_TEST_P(Form1Behaviour, ShowsAnOverflowUntilTheNextGoodKeystroke) {
    this->window.Type("txtCD", "e28");
    const auto before = this->Shown();
    this->window.Type("txtCD", "9"); // 5e289 days
    EXPECT_EQ(this->Shown(), before);
    EXPECT_FALSE(this->window.IsEnabled("lblResMB"));
    EXPECT_FALSE(this->window.IsEnabled("lblextrares"));
    EXPECT_EQ(this->window.MarkOf("txtCD"), "Overflow: the estimate is too large to compute");
    EXPECT_EQ(this->window.MarkOf("txtArchive"), "");

    // Still faulting: the stored CD figure stays infinite until its box is corrected.
    this->window.Click("opt22KStereo");
    EXPECT_EQ(this->Shown(), before);
    EXPECT_EQ(this->window.MarkOf("opt22KStereo"), this->window.MarkOf("txtCD"));

    this->window.Type("txtCD", "\b");
    EXPECT_EQ(this->window.Text("txtCD"), "5e28");
    EXPECT_EQ(this->Shown(), this->Fresh());
    EXPECT_TRUE(this->window.IsEnabled("lblResMB"));
    EXPECT_TRUE(this->window.IsEnabled("lblextrares"));
    EXPECT_EQ(this->window.MarkOf("txtCD"), "");
    EXPECT_EQ(this->window.MarkOf("opt22KStereo"), "");
}

TYPED_TEST_P(Form1Behaviour, OptionsRecomputeWhenClickedOrMovedToWithArrows) {
    this->window.Click("opt22KStereo");
    EXPECT_TRUE(this->window.Checked("opt22KStereo"));
    EXPECT_FALSE(this->window.Checked("opt11kmono"));
    EXPECT_EQ(this->Shown(), (std::pair<std::string, std::string>{"83.39", "GB - (85392.61 MB)"}));

    this->SkipWithoutKeyboard();
    if constexpr (!requires { TypeParam::kNoKeyboard; }) {
        const std::pair<const char*, std::pair<std::string, std::string>> ups[] = {
            {"opt22kMono", {"50.57", "GB - (51780.63 MB)"}},
            {"opt11KStereo", {"50.57", "GB - (51780.63 MB)"}},
            {"opt11kmono", this->kStartUp},
        };
        const char* focused = "opt22KStereo";
        for (const auto& [reached, shown] : ups) {
            this->window.Up(focused);
            EXPECT_TRUE(this->window.Checked(reached)) << reached;
            EXPECT_EQ(this->Shown(), shown) << reached;
            focused = reached;
        }
    }
}

// Tab visits the boxes, then the option group once, at its selected option.
TYPED_TEST_P(Form1Behaviour, TabsThroughBothBoxesThenTheOptionGroup) {
    this->SkipWithoutKeyboard();
    if constexpr (!requires { TypeParam::kNoKeyboard; }) {
        this->window.Click("opt22kMono");
        EXPECT_EQ(this->window.TabFrom("txtCD"), "txtArchive");
        EXPECT_EQ(this->window.TabFrom("txtArchive"), "opt22kMono");
        EXPECT_EQ(this->window.TabFrom("opt22kMono"), "txtCD");
    }
}

// A program's write forgets what the user could undo, even when it writes the text the box
// already holds; Ctrl+Z then brings back nothing from before it.
TYPED_TEST_P(Form1Behaviour, AProgramsWriteForgetsWhatCouldBeUndone) {
    this->SkipWithoutKeyboard();
    if constexpr (!requires { TypeParam::kNoKeyboard; }) {
        for (const char* written : {"7", "71"}) {
            this->window.Type("txtCD", "1");
            ASSERT_TRUE(this->window.CanUndo("txtCD"));
            this->window.Controls().TextBoxNamed("txtCD").SetText(written);
            EXPECT_FALSE(this->window.CanUndo("txtCD")) << written;
            this->window.Undo("txtCD");
            EXPECT_EQ(this->window.Text("txtCD"), written);
            EXPECT_EQ(this->Shown(), this->Fresh());
        }
    }
}

// Random keystrokes, pastes and clicks: after each, the captions are those a freshly loaded
// window shows for the same texts and option, whatever led there.
TYPED_TEST_P(Form1Behaviour, CaptionsMatchAFreshWindowAfterRandomEdits) {
    // No exponent letter, and short texts: no sequence reaches an overflow, which has its checks.
    constexpr std::string_view kKeys = "0123456789012345.-+ ax\b\b\b";
    std::mt19937 random(20261208);
    const auto pick = [&](std::size_t count) {
        return std::uniform_int_distribution<std::size_t>(0, count - 1)(random);
    };
    for (int event = 0; event < TypeParam::kRandomEvents; ++event) {
        const char* box = pick(2) == 0 ? "txtCD" : "txtArchive";
        switch (pick(8)) {
        case 0:
            this->window.Click(kOptions[pick(std::size(kOptions))]);
            break;
        case 1:
            this->window.Paste(box, std::to_string(pick(100000)) + "." + std::to_string(pick(100)));
            break;
        default:
            if (const char key = kKeys[pick(kKeys.size())];
                key == '\b' || this->window.Text(box).size() < 8) {
                this->window.Type(box, std::string(1, key));
            }
            break;
        }
        ASSERT_EQ(this->Shown(), this->Fresh())
            << "event " << event << ": txtCD \"" << this->window.Text("txtCD")
            << "\", txtArchive \"" << this->window.Text("txtArchive") << '"';
    }
}

REGISTER_TYPED_TEST_SUITE_P(Form1Behaviour, StartsWithTheDefaultEstimate,
                            RecomputesOnEveryKeystroke, ShowsTheSharedCaptions,
                            AcceptsAPastedTextOfAnyLength, ShowsAnOverflowUntilTheNextGoodKeystroke,
                            OptionsRecomputeWhenClickedOrMovedToWithArrows,
                            TabsThroughBothBoxesThenTheOptionGroup,
                            AProgramsWriteForgetsWhatCouldBeUndone,
                            CaptionsMatchAFreshWindowAfterRandomEdits);

} // namespace brindle::testing
