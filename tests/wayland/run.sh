#!/bin/bash
# Runs a program on a Wayland compositor of its own: Debian's weston, headless, on a socket in a
# runtime folder made for the run, so that no desktop of the machine is touched.
#
# Usage: run.sh PROGRAM [ARGUMENTS...]
set -euo pipefail

program=$1
shift
source "$(dirname "$0")/../scratch.sh"
runtime=$work

export XDG_RUNTIME_DIR=$runtime
socket=brindle-wayland-test
weston --backend=headless-backend.so --socket="$socket" --idle-time=0 --width=1024 --height=640 \
    >"$runtime/weston.log" 2>&1 &
for _ in $(seq 100); do
    [[ -S $runtime/$socket ]] && break
    sleep 0.1
done
if [[ ! -S $runtime/$socket ]]; then
    echo "weston did not start:" >&2
    cat "$runtime/weston.log" >&2
    exit 1
fi

status=0
env -u DISPLAY WAYLAND_DISPLAY="$socket" QT_QPA_PLATFORM=wayland "$program" "$@" || status=$?
if [[ $status -ne 0 ]]; then
    echo "--- the program ended with status $status; weston said:" >&2
    tail -n 20 "$runtime/weston.log" >&2
fi
exit "$status"
