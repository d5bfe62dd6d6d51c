#pragma once

// Texts and an option, with the captions every backend must show for them, byte for byte. The
// figures come from an independent single-precision model of the estimate, not from this program.
namespace brindle::testing {

struct SharedCase {
    const char* cd_days;
    const char* archive_days;
    const char* option;
    const char* gigabytes;
    const char* megabytes;
};

inline constexpr SharedCase kSharedCases[] = {
    {"5", "37", "opt11kmono", "34.15", "GB - (34974.63 MB)"},
    {"", "37", "opt11kmono", "16.41", "GB - (16805.99 MB)"},
    {"1", "", "opt22KStereo", "3.55", "GB - (3633.73 MB)"},
    {"-2", "", "opt11kmono", "-7.10", "GB - (-7267.46 MB)"},
    {"2.5 days", "0.5", "opt22kMono", "9.31", "GB - (9538.54 MB)"},
    {"1e3", "1.5e2", "opt11KStereo", "3681.63", "GB - (3769992.80 MB)"},
    {"abc", "x12", "opt22KStereo", "0.00", "GB - (0.00 MB)"},
    {"0.001", "365", "opt22KStereo", "647.62", "GB - (663159.00 MB)"},
    {"8.9e28", "", "opt11kmono", "315822070000000000000000000000.00",
     "GB - (323401800000000000000000000000000.00 MB)"},
};

} // namespace brindle::testing
