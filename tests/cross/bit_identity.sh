#!/usr/bin/env bash
# The same scenarios give the same output bits on every build: the Linux
# x86-64 build natively, the 64-bit Windows build under wine64 and the i686
# Linux build (the 32-bit code paths of the primary Windows DLL, built with
# the same flags) under qemu-i386. Each prints one digest per scenario.
set -euo pipefail
build=${BUILD_ROOT:?}
root=$(cd "$(dirname "$0")/../.." && pwd)
program=orvalune_bit_scenarios

linux=$("$build/linux/$program")
win64=$("$root/scripts/wine-run" "$build/win64/$program.exe" | tr -d '\r')
i686=$(qemu-i386 "$build/linux-i686/$program")

failed=0
for name in win64 i686; do
  if [ "${!name}" != "$linux" ]; then
    echo "$name output bits differ from linux:"
    diff <(echo "$linux") <(echo "${!name}") || true
    failed=1
  fi
done
[ $failed -eq 0 ] && echo "linux, win64 and i686 agree:" && echo "$linux"
exit $failed
