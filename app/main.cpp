#include "app/program_record.hpp"
#include "platform/qt/run_program.hpp"

// The program takes no arguments and does not look at them.
int main() {
    brindle::platform::qt::RunProgram(brindle::app::BrindleProgram());
}
