#!/usr/bin/env bash
# The whole check, from a fresh Debian 12 machine: installs what is missing, then checks the
# formatting; builds the Linux program as shipped with g++ (hardened, warnings are errors), runs
# every test on it and checks its Debian package (lintian, AppStream compose); builds with clang++
# under AddressSanitizer and UndefinedBehaviorSanitizer and runs every test again; lints with
# clang-tidy; runs each fuzz target for a bounded time, from while the packages install on;
# cross-builds the Windows program as shipped and runs every test under Wine, with the ZIP and
# installer checked in a prefix that reports Windows 7; and runs the benchmarks once so that they
# are known to work. The Qt tests run on Qt's offscreen platform and on desktops the tests start
# for themselves, and Wine uses its null graphics driver: no display is needed.
#
# BRINDLE_FUZZ_SECONDS sets how long each fuzz target runs (default 20).
set -euo pipefail
cd "$(dirname "$0")/.."

readonly fuzz_seconds="${BRINDLE_FUZZ_SECONDS:-20}"
# What the fuzz targets need to build and run, which a machine with clang mostly has already.
# llvm brings llvm-symbolizer: without it a sanitizer's report names no function, and a leak
# suppression that names one (tests/toolkit_leaks.supp) matches nothing.
readonly fuzz_packages=(cmake ninja-build clang libclang-rt-14-dev llvm)
readonly packages=(
    "${fuzz_packages[@]}" g++ clang-format clang-tidy python3
    libgtest-dev libgmock-dev libbenchmark-dev
    qt6-base-dev libwayland-dev fonts-dejavu-core fonts-dejavu-extra
    binutils-mingw-w64-x86-64 desktop-file-utils appstream appstream-compose dpkg-dev lintian
    librsvg2-bin xvfb dbus-daemon at-spi2-core python3-pyatspi orca xdotool qt6-wayland weston ibus
    mutter xwayland x11-utils wmctrl
    g++-mingw-w64-x86-64 wine wine64 nsis unzip
)

stages_passed=0
stage() {
    echo
    echo "=== $1"
    shift
    local started=$SECONDS
    "$@"
    stages_passed=$((stages_passed + 1))
    echo "--- $((SECONDS - started)) s"
}

sources() { git ls-files -- '*.cpp' '*.hpp' '*.hpp.in'; }

check_format() { sources | xargs clang-format --dry-run --Werror; }

# Tests run two at a time (the machine's cores); those that must not share the machine say so
# (RUN_SERIAL).
build_and_test() {
    cmake --preset "$1" >/dev/null
    cmake --build --preset "$1"
    ctest --preset "$1" --parallel "$(nproc)"
}

lint() {
    local log=build/clang-tidy.log
    # Our sources only: not the code Qt's moc generates under build/.
    local root
    root=$(printf '%s' "$PWD" | sed 's/[][\.*^$+?(){}|]/\\&/g')
    # On the sanitizer build's compile commands: the same sources, built with clang++ anyway.
    if ! run-clang-tidy -p build/sanitize -quiet "^$root/(app|engine|platform|window)/" >"$log" 2>&1; then
        grep -E -A3 '(warning|error):' "$log" >&2
        return 1
    fi
}

fuzz() {
    cmake --preset fuzz >/dev/null
    cmake --build --preset fuzz
    for target in read_days format_figure; do
        local corpus="build/fuzz/corpus/$target" log="build/fuzz/$target.log"
        mkdir -p "$corpus"
        # libFuzzer stops at the first crash, leak, sanitizer report or failed check, and keeps the
        # input that caused it next to the log.
        if ! "build/fuzz/fuzz/fuzz_$target" -max_total_time="$fuzz_seconds" -print_final_stats=1 \
            -artifact_prefix="build/fuzz/$target-" "$corpus" "fuzz/corpus/$target" >"$log" 2>&1; then
            tail -n 40 "$log" >&2
            return 1
        fi
        echo "fuzz_$target: $(grep -E '^stat::number_of_executed_units' "$log" | awk '{print $2}') inputs"
    done
}

# The fuzz targets need only clang and the engine, so they run while apt-get installs the rest:
# installing is mostly waiting on the network and the disk, which leaves a core free. On a machine
# that has everything, they run beside the first build instead. Neither measures time.
fuzzing=
readonly fuzz_log=build/fuzz-stage.log
start_fuzzing() {
    mkdir -p build
    fuzz >"$fuzz_log" 2>&1 &
    fuzzing=$!
}
finish_fuzzing() {
    local status=0
    wait "$fuzzing" || status=$?
    fuzzing=
    cat "$fuzz_log"
    return "$status"
}
# A stage that fails ends the check; fuzzing, and the fuzz target or build it is running, end with it.
trap 'if [[ -n $fuzzing ]]; then pkill -P "$fuzzing"; kill "$fuzzing"; fi 2>/dev/null; true' EXIT

bench() {
    build/ci-linux/bench/brindle_bench --benchmark_min_time=0.05
    build/ci-linux/bench/brindle_qt_bench --benchmark_min_time=0.05
}

stage "Installing what fuzzing needs, if missing" bash tools/install-missing.sh "${fuzz_packages[@]}"
start_fuzzing
stage "Installing missing packages (fuzzing meanwhile, ${fuzz_seconds}s a target)" \
    bash tools/install-missing.sh "${packages[@]}"
stage "Formatting (clang-format)" check_format
# Each build serves every check it can: the shipped Linux build (g++) runs every test and the
# packaging checks and is benchmarked; the sanitizer build (clang++) runs every test again and is
# what clang-tidy reads; the shipped Windows build runs every test under Wine beside the ZIP and
# installer checks.
stage "g++, the program as shipped: every test, Debian package, lintian and AppStream compose" \
    build_and_test ci-linux
stage "clang++ with AddressSanitizer and UndefinedBehaviorSanitizer: every test" \
    build_and_test sanitize
stage "Lint (clang-tidy)" lint
stage "Fuzzing (libFuzzer), started after the first install" finish_fuzzing
stage "Windows (MinGW-w64), as shipped: every test, ZIP and installer, under Wine (Windows 7 too)" \
    build_and_test ci-windows
stage "Benchmarks (one short run)" bench

echo
echo "stages: ${stages_passed} passed, 0 failed"
