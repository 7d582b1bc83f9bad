#!/usr/bin/env bash
# The editor end to end in the 64-bit Windows build: the Windows test host
# embeds the Win32 editor under wine, drawn into an Xvfb server, driven by
# xdotool and compared with the headless render of the Linux build's
# orvalune-render (the same drawing code, so the same pixels). Needs both
# builds, hence a cross check. The wine prefix is the win64 build's
# window-test prefix (also used by its editor_host test, never at the same
# time: cross checks run after the builds' tests).
set -euo pipefail
build=${BUILD_ROOT:?}
root=$(cd "$(dirname "$0")/../.." && pwd)
host=$build/win64/orvalune_e2e_host.exe
render=$build/linux/orvalune-render
for file in "$host" "$render"; do
  [ -f "$file" ] || { echo "missing: $file (build the win64 and linux presets)"; exit 1; }
done
export WINEPREFIX=$build/win64/.wine-display
exec "$root/tests/e2e/with-xvfb.sh" "$root/tests/e2e/editor_e2e.sh" "$render" "$root/scripts/wine-run" "$host"
