#pragma once

// How every backend's window shows a failed event, checked the same way on each: the window core
// decides what is marked and why, and each backend must show exactly that. A backend's test
// drives its window as the user would, through a driver of this shape:
//
//     void Load();                               the window opens
//     void Change(std::string_view box);         the user types into a box
//     void Click(std::string_view option);       the user clicks an option
//     std::string MarkOf(std::string_view name); the reason shown on a control, or with the
//                                                window's name on the window; empty when unmarked
//     bool IsEnabled(std::string_view name);
//     bool Ringed(std::string_view control);     whether the ring is drawn around it
//     int Beeps();                               how many times it has beeped
//     ScriptedLogic logic;                       attached to the window
//
// A driver that cannot see the ring says why instead, in `static constexpr const char*
// kUncheckedRing`, and the run prints it: no rule is left out without a word.
//
// The window runs ScriptedLogic, which fails the events the test names, rather than Form1, so that
// every kind of event, the load among them, can fail on every backend. A backend's test runs
// CheckErrorDisplay<Driver>().

#include "platform/controls.hpp"
#include "platform/events.hpp"
#include "platform/runtime_error.hpp"

#include <cstdio>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

namespace brindle::testing {

// Window logic whose events fail, with the reason the test gives, for as long as the test says.
class ScriptedLogic final : public platform::EventTarget {
public:
    void Fail(std::string_view source, std::string why) {
        failing_.emplace_back(source, std::move(why));
    }
    void Heal() noexcept { failing_.clear(); }

    void Handle(const platform::EventSource& event) override {
        // The newest reason for a source wins, as a handler failing anew would say.
        for (auto failing = failing_.rbegin(); failing != failing_.rend(); ++failing) {
            if (failing->first == event.control) {
                throw platform::RuntimeError(platform::ErrorNumber::Internal, failing->second);
            }
        }
    }

private:
    std::vector<std::pair<std::string, std::string>> failing_;
};

inline constexpr const char* kWindow = "Form1";
inline constexpr const char* kResults[] = {"lblResMB", "lblextrares"};
// The controls whose events can fail: both boxes and every option.
inline constexpr const char* kSources[] = {"txtCD",        "txtArchive", "opt11kmono",
                                           "opt11KStereo", "opt22kMono", "opt22KStereo"};

template <class Driver>
void ExpectMarks(Driver& window, const std::vector<std::pair<std::string, std::string>>& marked,
                 int failures) {
    const auto reason = [&](std::string_view name) {
        for (const auto& [source, why] : marked) {
            if (source == name) {
                return why;
            }
        }
        return std::string();
    };
    EXPECT_EQ(window.MarkOf(kWindow), reason(kWindow));
    for (const char* source : kSources) {
        const std::string why = reason(source);
        EXPECT_EQ(window.MarkOf(source), why) << source;
        EXPECT_TRUE(window.IsEnabled(source)) << source << " can still be corrected";
        if constexpr (requires { window.Ringed(source); }) {
            EXPECT_EQ(window.Ringed(source), !why.empty()) << source;
        } else {
            static_assert(
                requires { Driver::kUncheckedRing; }, "a driver that cannot see the ring says why");
        }
    }
    for (const char* result : kResults) {
        EXPECT_EQ(window.IsEnabled(result), marked.empty()) << result;
    }
    EXPECT_EQ(window.Beeps(), failures) << "one beep a failure";
}

// Each failed event marks its own control with its reason and greys the results; a control that
// fails again says its newest reason; the next event that completes takes every mark away.
template <class Driver>
void CheckMarksUntilAnEventCompletes() {
    Driver window;
    window.Load();
    ExpectMarks(window, {}, 0);

    window.logic.Fail("txtCD", "The CD box failed");
    window.Change("txtCD");
    ExpectMarks(window, {{"txtCD", "The CD box failed"}}, 1);

    window.logic.Fail("opt22KStereo", "The option failed");
    window.Click("opt22KStereo");
    ExpectMarks(window, {{"txtCD", "The CD box failed"}, {"opt22KStereo", "The option failed"}}, 2);

    window.logic.Fail("txtCD", "The CD box failed again");
    window.Change("txtCD");
    ExpectMarks(window,
                {{"txtCD", "The CD box failed again"}, {"opt22KStereo", "The option failed"}}, 3);

    window.logic.Heal();
    window.Change("txtArchive");
    ExpectMarks(window, {}, 3);

    // A click on the option already chosen changes nothing, so it is no event and cannot fail.
    window.logic.Fail("opt22KStereo", "The option failed again");
    window.Click("opt22KStereo");
    ExpectMarks(window, {}, 3);
}

// A failed load has no control of its own: the window carries the reason, until an event
// completes.
template <class Driver>
void CheckMarksTheWindowWhenTheLoadFails() {
    Driver window;
    window.logic.Fail(kWindow, "The window could not load");
    window.Load();
    ExpectMarks(window, {{kWindow, "The window could not load"}}, 1);

    window.logic.Heal();
    window.Click("opt11KStereo");
    ExpectMarks(window, {}, 1);
}

template <class Driver>
void CheckErrorDisplay() {
    if constexpr (requires { Driver::kUncheckedRing; }) {
        std::printf("[ UNCHECKED] the ring around a failed control: %s\n", Driver::kUncheckedRing);
    }
    {
        SCOPED_TRACE("a failed control is marked until an event completes");
        CheckMarksUntilAnEventCompletes<Driver>();
    }
    {
        SCOPED_TRACE("a failed load marks the window");
        CheckMarksTheWindowWhenTheLoadFails<Driver>();
    }
}

} // namespace brindle::testing
