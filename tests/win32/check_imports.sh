#!/usr/bin/env bash
# The Windows program must run from its one file: every DLL it imports is part of Windows itself
# (the C runtime msvcrt.dll among them), none comes from the compiler.
# Usage: check_imports.sh PROGRAM.exe
set -euo pipefail
program=$1
allowed='^(KERNEL32|USER32|GDI32|COMCTL32|ADVAPI32|msvcrt|api-ms-win-[a-z0-9-]+)\.dll$'

mapfile -t imported < <(x86_64-w64-mingw32-objdump -p "$program" | awk '/DLL Name:/ {print $3}')
((${#imported[@]} > 0)) || { echo "FAIL: no imports read from $program" >&2; exit 1; }
for dll in "${imported[@]}"; do
    if ! [[ "$dll" =~ $allowed ]]; then
        echo "FAIL: $program imports $dll" >&2
        exit 1
    fi
done
echo "imports: ${imported[*]}"
