#!/bin/bash
# Runs a program as a GNOME session starts it: on Debian's mutter, headless, as a Wayland
# compositor with XWayland, on a session bus and in a runtime folder of its own, with
# XDG_CURRENT_DESKTOP=GNOME and both WAYLAND_DISPLAY and DISPLAY set (mutter sets them for the
# program it starts). mutter ends with the program, and fails if the program fails.
#
# Usage: run.sh PROGRAM [ARGUMENTS...]
set -euo pipefail

source "$(dirname "$0")/../scratch.sh"
export XDG_RUNTIME_DIR=$work
status=0
env -u QT_QPA_PLATFORM -u DISPLAY -u WAYLAND_DISPLAY XDG_CURRENT_DESKTOP=GNOME \
    XDG_SESSION_TYPE=wayland dbus-run-session -- \
    mutter --headless --wayland --virtual-monitor 1024x768 --wayland-display=brindle-gnome-test \
    -- "$@" >"$work/mutter.log" 2>&1 || status=$?
# What the program printed, without mutter's own chatter about a session it does not have.
grep -vE '^(libmutter-Message|Window manager warning|\(mutter:|dbus-daemon\[)|^$' "$work/mutter.log" || true
exit "$status"
