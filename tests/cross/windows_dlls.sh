#!/usr/bin/env bash
# Static checks of the Windows DLLs: the right machine, exactly one export
# `main`, and imports from Windows system DLLs only (the C++ runtime is linked
# in). The 32-bit DLL, the primary binary, cannot be run on this machine.
set -euo pipefail
build=${BUILD_ROOT:?}
allowed='^(KERNEL32|msvcrt|USER32|GDI32|ADVAPI32)\.dll$'
failed=0

check() {
  local dll=$1 objdump=$2 format=$3
  [ -f "$dll" ] || { echo "missing: $dll"; failed=1; return; }
  local header exports imports
  header=$("$objdump" -f "$dll")
  grep -q "file format $format" <<<"$header" || { echo "$dll: not $format"; failed=1; }
  exports=$("$objdump" -p "$dll" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' | awk 'NR>1 && NF {print $NF}')
  [ "$exports" = "main" ] || { echo "$dll: exports '$exports', expected only 'main'"; failed=1; }
  imports=$("$objdump" -p "$dll" | awk '/DLL Name:/ {print $3}')
  while read -r name; do
    [[ "$name" =~ $allowed ]] || { echo "$dll: imports $name, not a Windows system DLL"; failed=1; }
  done <<<"$imports"
  echo "$dll: $format, exports main, imports $(echo $imports)"
}

check "$build/win32/Orvalune.dll" i686-w64-mingw32-objdump pei-i386
check "$build/win64/Orvalune.dll" x86_64-w64-mingw32-objdump pei-x86-64
exit $failed
