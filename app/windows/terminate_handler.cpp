// What ends the program when an exception escapes everything. The C++ runtime's own handler writes
// the exception's demangled type to standard error, which a Windows program has not got; with it
// comes the runtime's whole demangler, a tenth of the program's size. This one just ends it.

#include <cstdlib>

namespace __gnu_cxx {

// The runtime installs this function as its terminate handler; defining it here replaces it.
// NOLINTNEXTLINE(cert-dcl58-cpp,readability-identifier-naming): the runtime's own name
[[noreturn]] void __verbose_terminate_handler() {
    std::abort();
}

} // namespace __gnu_cxx
