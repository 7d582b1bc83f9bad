#!/usr/bin/env bash
# Static checks of the Windows DLLs: the right machine, exactly one export
# `main`, and imports from Windows system DLLs only (the C++ runtime is linked
# in), also among the DLLs it loads late (USER32 and GDI32 are delay-loaded,
# which the import table does not show, so every DLL name in the binary is
# checked). The 32-bit DLL, the primary binary, cannot be run on this machine.
set -euo pipefail
build=${BUILD_ROOT:?}
allowed='^(kernel32|msvcrt|user32|gdi32|advapi32)\.dll$'
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
  # Besides its own name, the 32-bit GCC runtime names libgcc_s_dw2-1.dll: its
  # start-up shares exception frames with that DLL only when the process has
  # already loaded it, and never loads it itself.
  loaded=$(strings -a "$dll" | grep -ioE '^[a-z0-9_-]+\.dll$' | grep -vixE 'Orvalune\.dll|libgcc_s_dw2-1\.dll' | sort -fu)
  while read -r name; do
    [[ "${name,,}" =~ $allowed ]] || { echo "$dll: uses $name, not a Windows system DLL"; failed=1; }
  done <<<"$imports"$'\n'"$loaded"
  echo "$dll: $format, exports main, imports $(echo $imports), names $(echo $loaded)"
}

check "$build/win32/Orvalune.dll" i686-w64-mingw32-objdump pei-i386
check "$build/win64/Orvalune.dll" x86_64-w64-mingw32-objdump pei-x86-64
exit $failed
