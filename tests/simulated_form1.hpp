#pragma once

#include "platform/simulated/simulated_window.hpp"
#include "printers.hpp"
#include "window/form1.hpp"
#include "window/form1_design.hpp"

#include <string>
#include <utility>

namespace brindle::testing {

// Form1's logic on a simulated window, created but not yet loaded.
struct SimulatedForm1 {
    SimulatedForm1() { window.Attach(form); }

    [[nodiscard]] std::pair<std::string, std::string> Captions() const {
        return {window.CaptionOf("lblResMB"), window.CaptionOf("lblextrares")};
    }

    platform::SimulatedWindow window{window::Form1Design()};
    window::Form1 form{window};
};

inline constexpr const char* kOptions[] = {"opt11kmono", "opt11KStereo", "opt22kMono",
                                           "opt22KStereo"};

} // namespace brindle::testing
