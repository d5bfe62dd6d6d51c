#!/bin/bash
# Types through a real input method, Debian's ibus with its xkb engine, into the day box and into
# the toolkit's line edit, and checks that both end with the same text, the one expected: typed
# characters, two compose sequences and a dead key, each composed by ibus. Entering a character
# by its code (Ctrl+Shift+U) belongs to ibus's emoji extension, a GTK program with settings of
# its own, which is not started here.
#
# Runs inside an X server and a D-Bus session of its own:
#   x11/run.sh dbus-run-session -- bash session.sh PROBE
set -euo pipefail

probe=$1
source "$(dirname "$0")/../scratch.sh"

export IBUS_ADDRESS_FILE=$work/ibus-address
export XDG_CONFIG_HOME=$work/config XDG_CACHE_HOME=$work/cache
ibus-daemon --panel=disable --emoji-extension=disable --config=disable --replace \
    >"$work/ibus.log" 2>&1 &
for _ in $(seq 100); do
    ibus engine xkb:us::eng >/dev/null 2>&1 && break
    sleep 0.1
done
if ! ibus engine >/dev/null 2>&1; then
    echo "ibus did not start:" >&2
    cat "$work/ibus.log" >&2
    exit 1
fi

expected='12€©é'
type_into() {
    local out=$work/out$*
    QT_IM_MODULE=ibus "$probe" "$@" >"$out" 2>"$out.err" &
    local program=$!
    local window
    window=$(timeout 20 xdotool search --sync --name '^Brindle input method probe$' | head -n 1)
    xdotool windowfocus --sync "$window"
    sleep 0.5
    xdotool type --delay 50 12
    xdotool key --delay 80 Multi_key e equal
    xdotool key --delay 80 Multi_key o c
    xdotool key --delay 80 dead_acute e
    sleep 0.3
    xdotool key Escape
    if ! timeout 10 tail --pid="$program" -f /dev/null; then
        echo "the probe did not quit" >&2
        return 1
    fi
    tail -n 1 "$out"
}

box=$(type_into)
line_edit=$(type_into --line-edit)
echo "day box: '$box'; line edit: '$line_edit'; expected: '$expected'"
if [[ $box != "$expected" || $line_edit != "$expected" ]]; then
    echo "--- the texts the day box went through, then the line edit:" >&2
    cat "$work/out" "$work/out.err" "$work/out--line-edit" "$work/out--line-edit.err" >&2
    exit 1
fi
