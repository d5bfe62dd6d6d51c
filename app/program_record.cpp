#include "app/program_record.hpp"

#include "app/identity.hpp"
#include "app/program_icon.hpp"
#include "window/form1.hpp"
#include "window/form1_design.hpp"

#include <memory>
#include <string>

namespace brindle::app {

const platform::WindowDesign& BrindleWindowDesign() {
    static const std::string caption =
        std::string(identity::kProductTitle) + " - by " + std::string(identity::kMaker);
    static const platform::WindowDesign design = window::Form1Design(caption);
    return design;
}

platform::ProgramRecord BrindleProgram() {
    return {
        .name = identity::kProgramName,
        .executable = identity::kExecutable,
        .version = identity::kVersion,
        .maker = identity::kMaker,
        .desktop_id = identity::kAppId,
        .startup_window = BrindleWindowDesign(),
        .create_logic =
            [](platform::ControlSet& controls) -> std::unique_ptr<platform::EventTarget> {
            return std::make_unique<window::Form1>(controls);
        },
        .icon = ProgramIcon(),
    };
}

} // namespace brindle::app
