#!/bin/bash
# Runs the program in a desktop session of its own, as a screen reader meets it: an X server
# (tests/x11/run.sh) or GNOME's compositor with XWayland (tests/gnome/run.sh), a session bus and the
# accessibility bus, with Qt's accessibility bridge on. Then runs the checks in CHECK_SCRIPT
# against it through AT-SPI.
#
# Usage: run.sh PROGRAM CHECK_SCRIPT [x11|gnome]
set -euo pipefail

program=$1
check=$2
case ${3:-x11} in
x11) desktop=(bash "$(dirname "$0")/../x11/run.sh" dbus-run-session --) ;;
gnome) desktop=(bash "$(dirname "$0")/../gnome/run.sh") ;;
*) echo "run.sh: no desktop '$3'" >&2; exit 2 ;;
esac
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Settings the session writes (dconf, a screen reader's preferences) stay in the run's folder.
export XDG_CONFIG_HOME=$work/config

# The system's Python: pyatspi comes from Debian, not from any other Python on the path.
"${desktop[@]}" bash -c '
    /usr/libexec/at-spi-bus-launcher --launch-immediately &
    # A program started before the accessibility bus is there never joins it.
    for _ in $(seq 100); do
        dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus \
            org.a11y.Bus.GetAddress >/dev/null 2>&1 && break
        sleep 0.1
    done
    QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$1" >"$3/program.log" 2>&1 &
    program=$!
    status=0
    /usr/bin/python3 "$2" || status=$?
    kill "$program" 2>/dev/null || true
    if [[ $status -ne 0 ]]; then
        echo "--- the program said:" >&2
        cat "$3/program.log" >&2
    fi
    exit "$status"' run.sh "$program" "$check" "$work" 2> >(grep -v 'Failed to set fd limit' >&2)
