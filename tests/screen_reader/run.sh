#!/bin/bash
# Runs the program in a desktop session of its own, as a screen reader meets it: an X server
# (Xvfb), a session bus and the accessibility bus, with Qt's accessibility bridge on. Then runs
# the checks in check.py against it through AT-SPI.
#
# Usage: run.sh PROGRAM CHECK_SCRIPT
set -euo pipefail

program=$1
check=$2
work=$(mktemp -d)
# The X server is waited for, so that the next run does not meet it still shutting down on the
# display it would pick.
cleanup() {
    kill $(jobs -p) 2>/dev/null || true
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

# Xvfb picks a free display and writes its number once it accepts connections.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
for _ in $(seq 100); do
    [[ -s $work/display ]] && break
    sleep 0.1
done
if [[ ! -s $work/display ]]; then
    echo "Xvfb did not start:" >&2
    cat "$work/xvfb.log" >&2
    exit 1
fi
DISPLAY=:$(cat "$work/display")
export DISPLAY
# Settings the session writes (dconf, a screen reader's preferences) stay in the run's folder.
export XDG_CONFIG_HOME=$work/config

# The system's Python: pyatspi comes from Debian, not from any other Python on the path.
dbus-run-session -- bash -c '
    /usr/libexec/at-spi-bus-launcher --launch-immediately &
    QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$1" >"$3/program.log" 2>&1 &
    program=$!
    status=0
    /usr/bin/python3 "$2" || status=$?
    kill "$program" 2>/dev/null || true
    if [[ $status -ne 0 ]]; then
        echo "--- the program said:" >&2
        cat "$3/program.log" >&2
    fi
    exit "$status"' run.sh "$program" "$check" "$work" 2> >(grep -v 'Failed to set fd limit' >&2)
