// Starts a Windows program of ours, prints the two result captions its window shows, closes it,
// and exits with the program's own exit code (2 when no window came up). The package checks run it
// under Wine on the installed and unpacked program.
// Usage: estimate_probe PROGRAM.exe

#include "platform/win32/win32_text.hpp"
#include "win32/started_program.hpp"

#include <cstdio>
#include <string>

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) {
        std::fputs("usage: estimate_probe PROGRAM.exe\n", stderr);
        return 2;
    }
    const brindle::testing::StartedProgram program(argv[1], L"");
    if (program.Window() == nullptr) {
        std::fputs("estimate_probe: no window came up\n", stderr);
        return 2;
    }
    const std::string shown = brindle::platform::win32::Narrow(program.Text(109)) + ' ' +
                              brindle::platform::win32::Narrow(program.Text(110)) + '\n';
    std::fputs(shown.c_str(), stdout);
    std::fflush(stdout);
    return static_cast<int>(program.Close());
}
