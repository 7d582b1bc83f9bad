#!/usr/bin/env bash
# Runs a command with DISPLAY pointing at an Xvfb server of its own, and stops
# the server afterwards, also when the command fails or the script is
# interrupted. Xvfb picks a free display itself (-displayfd), so several runs
# can happen side by side.
#
# Wine binds a prefix's desktop to the display of the process that started
# the prefix's server, so windows of a Windows program only appear when the
# server was started on this display. With WINEPREFIX set, that prefix must
# belong to this run alone: its server is stopped before the command (in case
# an earlier run left one on another display) and after it.
#
#   [WINEPREFIX=DIR] with-xvfb.sh COMMAND [ARGUMENTS...]
set -euo pipefail

command -v Xvfb >/dev/null || { echo "with-xvfb.sh: Xvfb is not installed (package xvfb)" >&2; exit 1; }

workdir=$(mktemp -d)
xvfb_pid=""
stop_wine() {
  if [ -n "${WINEPREFIX:-}" ] && [ -d "$WINEPREFIX" ] && command -v wineserver >/dev/null; then
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
  fi
}
cleanup() {
  stop_wine
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
  rm -rf "$workdir"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$workdir/display" 2>"$workdir/xvfb.log" &
xvfb_pid=$!
# Xvfb writes the display number once it accepts connections.
deadline=$((SECONDS + 15))
until [ -s "$workdir/display" ]; do
  if ! kill -0 "$xvfb_pid" 2>/dev/null || [ $SECONDS -ge $deadline ]; then
    echo "with-xvfb.sh: Xvfb did not start" >&2
    cat "$workdir/xvfb.log" >&2
    exit 1
  fi
  sleep 0.05
done
export DISPLAY=":$(head -n1 "$workdir/display")"
stop_wine

status=0
"$@" || status=$?
exit $status
