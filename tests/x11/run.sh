#!/bin/bash
# Runs a program on an X server of its own (Xvfb, on a display it picks), a Qt program with Qt's
# X11 platform, and stops the server afterwards.
#
# Usage: run.sh PROGRAM [ARGUMENTS...]
set -euo pipefail

source "$(dirname "$0")/../scratch.sh"

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
status=0
DISPLAY=:$(cat "$work/display") QT_QPA_PLATFORM=xcb "$@" || status=$?
if [[ $status -ne 0 ]]; then
    # A failure may be the server's: say whether it was still there, and what it said.
    if ! kill -0 %1 2>/dev/null; then
        echo "Xvfb had ended:" >&2
    fi
    cat "$work/xvfb.log" >&2
fi
exit "$status"
