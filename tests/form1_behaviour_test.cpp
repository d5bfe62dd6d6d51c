// Form1's behaviour on the simulated window, which runs every check that needs no keyboard.

#include "form1_cases.hpp"
#include "simulated_form1.hpp"

#include <string>
#include <string_view>

namespace brindle::testing {
namespace {

class SimulatedDriver {
public:
    static constexpr int kRandomEvents = 9000;
    static constexpr const char* kNoKeyboard =
        "the simulated window has no focus to move and keeps no undo";

    SimulatedDriver() { sim.window.Load(); }

    void Type(std::string_view box, std::string_view keys) {
        for (const char key : keys) {
            if (key == '\b') {
                sim.window.Backspace(box);
            } else {
                sim.window.Type(box, std::string_view(&key, 1));
            }
        }
    }
    void Paste(std::string_view box, std::string_view text) { sim.window.Replace(box, text); }
    void Click(std::string_view option) { sim.window.Click(option); }
    [[nodiscard]] std::string Text(std::string_view control) const {
        const platform::WindowDesign& design = app::BrindleWindowDesign();
        return design.controls[*design.IndexOf(control)].kind == platform::ControlKind::TextBox
                   ? sim.window.TextOf(control)
                   : sim.window.CaptionOf(control);
    }
    [[nodiscard]] bool Checked(std::string_view option) const {
        return sim.window.IsSelected(option);
    }
    [[nodiscard]] bool IsEnabled(std::string_view control) const {
        return sim.window.IsEnabled(control);
    }
    [[nodiscard]] std::string MarkOf(std::string_view control) const {
        return std::string(sim.window.MarkOf(control));
    }
    platform::ControlSet& Controls() { return sim.window; }

private:
    SimulatedForm1 sim;
};

} // namespace

INSTANTIATE_TYPED_TEST_SUITE_P(Simulated, Form1Behaviour, SimulatedDriver);

} // namespace brindle::testing
