#include "simulated_form1.hpp"

#include <random>
#include <string>
#include <string_view>

#include <gtest/gtest.h>

namespace brindle::testing {
namespace {

// Characters a user might type into a day box. No exponent letter, so no sequence can reach an
// overflow; faults have their own tests.
constexpr std::string_view kKeys = "0123456789012345.-+ ax";

// The captions must depend only on what the window shows now (both texts and the selected option),
// never on how it got there.
void ExpectSameAsFreshWindow(const SimulatedForm1& used, unsigned seed, int step) {
    ASSERT_EQ(used.Captions(),
              FreshCaptions(used.window.TextOf("txtCD"), used.window.TextOf("txtArchive"),
                            [&](const char* option) { return used.window.IsSelected(option); }))
        << "seed " << seed << ", step " << step << ", txtCD \"" << used.window.TextOf("txtCD")
        << "\", txtArchive \"" << used.window.TextOf("txtArchive") << '"';
}

TEST(Form1Property, CaptionsMatchAFreshWindowAfterAnyEdits) {
    constexpr unsigned kSequences = 60;
    constexpr int kSteps = 150;
    for (unsigned seed = 1; seed <= kSequences; ++seed) {
        std::mt19937 random(seed);
        const auto pick = [&](std::size_t count) {
            return std::uniform_int_distribution<std::size_t>(0, count - 1)(random);
        };
        SimulatedForm1 used;
        used.window.Load();
        for (int step = 0; step < kSteps; ++step) {
            const char* box = pick(2) == 0 ? "txtCD" : "txtArchive";
            switch (pick(6)) {
            case 0:
            case 1: // a keystroke, kept short enough to stay far from overflow
                if (used.window.TextOf(box).size() < 10) {
                    used.window.Type(box, std::string(1, kKeys[pick(kKeys.size())]));
                }
                break;
            case 2:
                used.window.Backspace(box);
                break;
            case 3:
                used.window.Replace(box, "");
                break;
            case 4: // paste over the whole text
                used.window.Replace(box,
                                    std::to_string(pick(100000)) + "." + std::to_string(pick(100)));
                break;
            default:
                used.window.Click(kOptions[pick(std::size(kOptions))]);
                break;
            }
            ExpectSameAsFreshWindow(used, seed, step);
            if (HasFatalFailure()) {
                return;
            }
        }
        EXPECT_TRUE(used.window.Failures().empty()) << "seed " << seed;
    }
}

} // namespace
} // namespace brindle::testing
