#!/usr/bin/env bash
# What a Windows user downloads, checked as that user meets it, on Windows 7: the program is small,
# stripped and stamped with no build time; cpack makes the portable ZIP and the installer, the same
# to the byte when packed again; in a fresh Wine prefix that reports Windows 7, the program from the
# ZIP starts and shows the estimate, the installer installs silently (files, Start-menu shortcut,
# Add/Remove Programs entry), the installed program starts and shows the estimate, a second install
# upgrades in place, and the uninstaller leaves nothing of ours behind.
# Usage: check_windows.sh BUILD_DIR PROGRAM.exe ESTIMATE_PROBE.exe
set -euo pipefail
build=$1 program=$2 probe=$3
here=$(cd "$(dirname "$0")/../.." && pwd)

work=$(mktemp -d)
export BRINDLE_WINEPREFIX=$work/prefix BRINDLE_WINE_VERSION=win7
wineserver=$(command -v wineserver || echo /usr/lib/wine/wineserver)
cleanup() {
    WINEPREFIX=$BRINDLE_WINEPREFIX "$wineserver" -k 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}
source "$here/tests/packaging/pack.sh"
wine() { bash "$here/tools/wine-run.sh" "$@"; }
settle() { WINEPREFIX=$BRINDLE_WINEPREFIX "$wineserver" -w; }

# Small and stripped.
size=$(stat -c %s "$program")
((size <= 450 * 1024)) || fail "the program is $size bytes, more than 450 KiB"
sections=$(x86_64-w64-mingw32-objdump -h "$program")
[[ "$sections" != *.debug_* ]] || fail "the program carries debug sections"
# No time of building in the header: every build of a commit is the same program.
stamp=$(x86_64-w64-mingw32-objdump -p "$program" | awk '/^Time\/Date/ {$1 = ""; print}')
[[ "$stamp" == *" 1970" ]] || fail "the program's header carries the time it was linked:$stamp"

pack "$build" "$work/packages" "$program"
zip=$(find "$work/packages" -maxdepth 1 -name '*-win64.zip')
installer=$(find "$work/packages" -maxdepth 1 -name '*-setup.exe')
[[ -n "$zip" && -n "$installer" ]] || fail "cpack did not make the ZIP and the installer"
top=$(basename "$zip" .zip)
listed=$(unzip -Z1 "$zip" | sort)
[[ "$listed" == "$top/LICENSE.txt"$'\n'"$top/README.txt"$'\n'"$top/brindledsc.exe" ]] ||
    fail "the ZIP holds other files:"$'\n'"$listed"
unzip -q "$zip" -d "$work/portable"
cmp -s "$work/portable/$top/brindledsc.exe" "$program" || fail "the ZIP's program is not the build's"

# A fresh prefix that says it is Windows 7.
version=$(wine reg query 'HKLM\Software\Microsoft\Windows NT\CurrentVersion' /v CurrentVersion) ||
    fail "Wine could not read the new prefix's Windows version (status $?)"
[[ "$version" == *6.1* ]] || fail "the prefix does not report Windows 7: $version"

startup_estimate='34.15 GB - (34974.63 MB)'
shown=$(wine "$probe" "$work/portable/$top/brindledsc.exe" | tr -d '\r') ||
    fail "the program from the ZIP did not start, show its window and end with status 0 (status $?)"
[[ "$shown" == "$startup_estimate" ]] || fail "the program from the ZIP shows '$shown'"

drive_c=$BRINDLE_WINEPREFIX/drive_c
folder="$drive_c/Program Files/Brindle DSC"
shortcut="$drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Brindle DSC.lnk"
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\BrindleDSC'
check_installed() {
    for file in brindledsc.exe LICENSE.txt README.txt Uninstall.exe; do
        [[ -f "$folder/$file" ]] || fail "$1: no $file in Program Files"
    done
    cmp -s "$folder/brindledsc.exe" "$program" || fail "$1: the installed program is not the build's"
    [[ -f "$shortcut" ]] || fail "$1: no Start-menu shortcut"
    local entry
    entry=$(wine reg query "$key" | tr -d '\r')
    for value in 'DisplayName    REG_SZ    Brindle DSC' 'DisplayVersion    REG_SZ    1.00' \
        'Publisher    REG_SZ    Brindle Audio Labs' \
        'DisplayIcon    REG_SZ    C:\Program Files\Brindle DSC\brindledsc.exe,0' \
        'UninstallString    REG_SZ    "C:\Program Files\Brindle DSC\Uninstall.exe"' \
        'EstimatedSize    REG_DWORD    0x'; do
        [[ "$entry" == *"$value"* ]] || fail "$1: the Add/Remove Programs entry lacks '$value':"$'\n'"$entry"
    done
}

wine "$installer" /S
settle
check_installed "install"
shown=$(wine "$probe" 'C:\Program Files\Brindle DSC\brindledsc.exe' | tr -d '\r') ||
    fail "the installed program did not start, show its window and end with status 0 (status $?)"
[[ "$shown" == "$startup_estimate" ]] || fail "the installed program shows '$shown'"

# Installing again upgrades the installation where it is.
wine "$installer" /S
settle
check_installed "upgrade"
[[ $(find "$drive_c" -name brindledsc.exe -path '*Program Files*' | wc -l) == 1 ]] ||
    fail "the upgrade installed a second copy"

wine 'C:\Program Files\Brindle DSC\Uninstall.exe' /S
settle
[[ ! -e "$folder" ]] || fail "the uninstaller left $(ls "$folder")"
[[ ! -e "$shortcut" ]] || fail "the uninstaller left the Start-menu shortcut"
if wine reg query "$key" >/dev/null 2>&1; then
    fail "the uninstaller left the Add/Remove Programs entry"
fi
echo "program ${size} bytes; ZIP, silent install, upgrade, start and uninstall on Windows 7 as expected"
