#pragma once

// For the probes that run the real program on a desktop of their own: each check prints a line
// as it goes, and the last line counts them as the test runner reads it.

#include <cstdio>
#include <string>

namespace brindle::testing {

inline int probe_passed = 0; // NOLINT(*-avoid-non-const-global-variables): one probe a process
inline int probe_failed = 0; // NOLINT(*-avoid-non-const-global-variables)

inline void Check(bool holds, const std::string& what) {
    ++(holds ? probe_passed : probe_failed);
    std::printf("%s: %s\n", holds ? "ok" : "FAILED", what.c_str());
}

// Prints the count and gives the probe's exit status: 1 if any check failed.
inline int ProbeStatus() {
    std::printf("%d passed, %d failed\n", probe_passed, probe_failed);
    return probe_failed == 0 ? 0 : 1;
}

} // namespace brindle::testing
