#pragma once

#include "app/program_record.hpp"
#include "platform/simulated/simulated_window.hpp"
#include "printers.hpp"
#include "window/form1.hpp"

#include <algorithm>
#include <string>
#include <string_view>
#include <utility>

namespace brindle::testing {

// Form1's logic on a simulated window, created but not yet loaded.
struct SimulatedForm1 {
    SimulatedForm1() { window.Attach(form); }

    [[nodiscard]] std::pair<std::string, std::string> Captions() const {
        return {window.CaptionOf("lblResMB"), window.CaptionOf("lblextrares")};
    }

    platform::SimulatedWindow window{app::BrindleWindowDesign()};
    window::Form1 form{window};
};

inline constexpr const char* kOptions[] = {"opt11kmono", "opt11KStereo", "opt22kMono",
                                           "opt22KStereo"};

// What a freshly loaded window shows for these texts and the option `is_selected` says is
// chosen: the oracle of the property tests, which must hold whatever sequence of events led to
// the texts and option of a window in use.
template <class IsSelected>
[[nodiscard]] std::pair<std::string, std::string>
FreshCaptions(std::string_view cd_days, std::string_view archive_days, IsSelected is_selected) {
    SimulatedForm1 fresh;
    fresh.window.Load();
    fresh.window.Replace("txtCD", cd_days);
    fresh.window.Replace("txtArchive", archive_days);
    for (const char* option : kOptions) {
        if (is_selected(option)) {
            fresh.window.Click(option);
        }
    }
    return fresh.Captions();
}

// A caption as a locale whose decimal separator is `separator` shows it.
[[nodiscard]] inline std::string WithSeparator(std::string text, char separator) {
    std::replace(text.begin(), text.end(), '.', separator);
    return text;
}

} // namespace brindle::testing
