#!/usr/bin/env bash
# The Windows program must load on Windows 7 SP1 and run from its one file: every function it
# imports is on the list of Windows 7 exports kept beside this script (so no DLL comes from the
# compiler, and nothing newer is imported statically), and its PE header asks for Windows 6.1.
# Usage: check_imports.sh PROGRAM.exe ALLOWED_LIST
set -euo pipefail
program=$1 allowed_list=$2

headers=$(x86_64-w64-mingw32-objdump -p "$program")
imported=$(awk '/DLL Name:/ {dll = $3; next}
                /^$/ {dll = ""}
                dll && /^\t[0-9a-f]+\t? +[0-9]+ +[A-Za-z_]/ {print dll, $NF}' <<<"$headers" | sort -u)
[[ -n "$imported" ]] || { echo "FAIL: no imports read from $program" >&2; exit 1; }
unlisted=$(comm -23 <(echo "$imported") <(grep -v '^#' "$allowed_list" | sort -u))
if [[ -n "$unlisted" ]]; then
    echo "FAIL: $program imports what is not on the Windows 7 list:" >&2
    echo "$unlisted" >&2
    exit 1
fi
for field in OSystemVersion SubsystemVersion; do
    major=$(awk -v f="Major$field" '$1 == f {print $2}' <<<"$headers")
    minor=$(awk -v f="Minor$field" '$1 == f {print $2}' <<<"$headers")
    [[ "$major.$minor" == 6.1 ]] || { echo "FAIL: $field is $major.$minor, not 6.1" >&2; exit 1; }
done
echo "$(wc -l <<<"$imported") imports, all on the Windows 7 list; OS and subsystem version 6.1"
