#!/usr/bin/env bash
# Runs a cross-built Windows program under Wine: a Wine prefix of its own inside the build folder
# (made on first use) and Wine's own messages off. With no display, by Wine's null graphics
# driver; with BRINDLE_WINE_DISPLAY=1, on the X display in DISPLAY, in a prefix of its own in the
# classic look (no visual style), and with every Wine process of that prefix stopped afterwards.
# BRINDLE_WINEPREFIX names another prefix, and BRINDLE_WINE_VERSION the Windows version a new
# prefix reports (for example win7).
# Usage: wine-run.sh PROGRAM.exe [ARGUMENTS...]
set -euo pipefail

program=$1
shift
on_display=${BRINDLE_WINE_DISPLAY:-}
if [[ -z "${BRINDLE_WINEPREFIX:-}" ]]; then
    build=$(cd "$(dirname "$program")" && while [[ ! -f CMakeCache.txt && $PWD != / ]]; do cd ..; done && pwd)
    BRINDLE_WINEPREFIX=$build/wine-prefix${on_display:+-display}
fi
export WINEPREFIX=$BRINDLE_WINEPREFIX
# On a display, Wine's errors are kept: they say why a window could not be made (its X11 driver
# failing to reach the display, say), which the test's own output cannot.
export WINEDEBUG="${WINEDEBUG:--all${on_display:+,err+all}}"
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d" # no installers, no menu entries
if [[ -z "$on_display" ]]; then
    unset DISPLAY WAYLAND_DISPLAY
fi

wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
wineserver=$(command -v wineserver || echo /usr/lib/wine/wineserver)
(
    # One process makes the prefix; others wait for it.
    flock 9
    if [[ ! -f "$WINEPREFIX/.brindle-ready" ]]; then
        "$wine" wineboot --init >/dev/null 2>&1
        if [[ -z "$on_display" ]]; then
            "$wine" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1
        else
            "$wine" reg add 'HKCU\Software\Microsoft\Windows\CurrentVersion\ThemeManager' \
                /v ThemeActive /d 0 /f >/dev/null 2>&1
        fi
        if [[ -n "${BRINDLE_WINE_VERSION:-}" ]]; then
            "$wine" winecfg -v "$BRINDLE_WINE_VERSION" >/dev/null 2>&1
        fi
        "$wineserver" -w
        touch "$WINEPREFIX/.brindle-ready"
    fi
) 9>"$WINEPREFIX.lock"
if [[ -z "$on_display" ]]; then
    exec "$wine" "$program" "$@"
fi
status=0
"$wine" "$program" "$@" || status=$?
"$wineserver" -k 2>/dev/null || true
exit "$status"
