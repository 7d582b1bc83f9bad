#!/usr/bin/env bash
# Runs a command with DISPLAY pointing at an Xvfb server of its own, and stops
# the server afterwards, also when the command fails or the script is
# interrupted. Xvfb picks a free display itself (-displayfd), so several runs
# can happen side by side.
#
#   with-xvfb.sh COMMAND [ARGUMENTS...]
set -euo pipefail

command -v Xvfb >/dev/null || { echo "with-xvfb.sh: Xvfb is not installed (package xvfb)" >&2; exit 1; }

workdir=$(mktemp -d)
xvfb_pid=""
cleanup() {
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

status=0
"$@" || status=$?
exit $status
