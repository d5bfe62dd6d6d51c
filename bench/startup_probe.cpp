// BrindleDSC's own start-up, ending as soon as its window is on screen: what the start-up
// benchmark times, process creation included.

#include "app/program_record.hpp"
#include "platform/qt/run_program.hpp"

int main() {
    return brindle::platform::qt::RunProgramUntilShown(brindle::app::BrindleProgram());
}
