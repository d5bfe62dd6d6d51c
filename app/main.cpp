#include "app/program_record.hpp"
#include "platform/run_program.hpp"

// The program takes no arguments and does not look at them.
int main() {
    brindle::platform::RunProgram(brindle::app::BrindleProgram());
}
