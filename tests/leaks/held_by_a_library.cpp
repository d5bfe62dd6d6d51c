// A library that, as a driver keeps a table of the machine it runs on, keeps a block in a global
// for the life of the process.
#include <cstdlib>

namespace {
void* table = nullptr;
} // namespace

extern "C" void HoldTable() {
    table = std::realloc(table, 128); // NOLINT: the driver's C allocation is the point
}
