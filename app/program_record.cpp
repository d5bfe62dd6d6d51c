#include "app/program_record.hpp"

#include "app/identity.hpp"
#include "app/program_icon.hpp"
#include "window/form1.hpp"
#include "window/form1_design.hpp"

#include <memory>

namespace brindle::app {

platform::ProgramRecord BrindleProgram() {
    return {
        .name = identity::kProgramName,
        .executable = identity::kExecutable,
        .version = identity::kVersion,
        .maker = identity::kMaker,
        .desktop_id = identity::kAppId,
        .startup_window = window::Form1Design(),
        .create_logic =
            [](platform::ControlSet& controls) -> std::unique_ptr<platform::EventTarget> {
            return std::make_unique<window::Form1>(controls);
        },
        .icon = ProgramIcon(),
        .locale_id = 1033,
    };
}

} // namespace brindle::app
