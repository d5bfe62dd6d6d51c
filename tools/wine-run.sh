#!/usr/bin/env bash
# Runs a cross-built Windows program under Wine with no display: a Wine prefix of its own inside
# the build folder (made on first use), Wine's null graphics driver, and Wine's own messages off.
# BRINDLE_WINEPREFIX names another prefix, and BRINDLE_WINE_VERSION the Windows version a new
# prefix reports (for example win7).
# Usage: wine-run.sh PROGRAM.exe [ARGUMENTS...]
set -euo pipefail

program=$1
shift
if [[ -z "${BRINDLE_WINEPREFIX:-}" ]]; then
    build=$(cd "$(dirname "$program")" && while [[ ! -f CMakeCache.txt && $PWD != / ]]; do cd ..; done && pwd)
    BRINDLE_WINEPREFIX=$build/wine-prefix
fi
export WINEPREFIX=$BRINDLE_WINEPREFIX
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d" # no installers, no menu entries
unset DISPLAY WAYLAND_DISPLAY

wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
wineserver=$(command -v wineserver || echo /usr/lib/wine/wineserver)
(
    # One process makes the prefix; others wait for it.
    flock 9
    if [[ ! -f "$WINEPREFIX/.brindle-ready" ]]; then
        "$wine" wineboot --init >/dev/null 2>&1
        "$wine" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1
        if [[ -n "${BRINDLE_WINE_VERSION:-}" ]]; then
            "$wine" winecfg -v "$BRINDLE_WINE_VERSION" >/dev/null 2>&1
        fi
        "$wineserver" -w
        touch "$WINEPREFIX/.brindle-ready"
    fi
) 9>"$WINEPREFIX.lock"
exec "$wine" "$program" "$@"
