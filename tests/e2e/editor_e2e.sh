#!/usr/bin/env bash
# The editor end to end: a host program (e2e_host.cpp) embeds the editor in
# its window, real input from xdotool works its controls, the parameter
# values are read back from the host after each step, and screenshots are
# compared pixel for pixel with the editor's headless render.
#
#   editor_e2e.sh RENDER_TOOL HOST_COMMAND [ARGUMENTS...]
#
# RENDER_TOOL is orvalune-render (for --editor-snapshot); HOST_COMMAND runs
# the host (the Linux program, or the Windows one through scripts/wine-run).
# Needs DISPLAY (run it under with-xvfb.sh), xdotool and ImageMagick.
#
# Every wait has a deadline: mouse input takes effect when the host's event
# loop gets to it, and wine merges moves that are still pending, so each step
# waits for its effect before the next one starts. Failing runs keep their
# pictures in $E2E_KEEP (default: a directory named in the failure message).
set -euo pipefail

render=$1
shift
[ -n "${DISPLAY:-}" ] || { echo "editor_e2e.sh: no DISPLAY; run it under with-xvfb.sh" >&2; exit 1; }
for tool in xdotool import compare; do
  command -v "$tool" >/dev/null || { echo "editor_e2e.sh: $tool is missing" >&2; exit 1; }
done

# Where the host puts its window on the screen (e2e_host.cpp), and the editor.
readonly left=50 top=40 width=339 height=220

work=$(mktemp -d)
host_pid=""
started=$(date +%s%N)
cleanup() {
  if [ -n "$host_pid" ] && kill -0 "$host_pid" 2>/dev/null; then
    kill "$host_pid" 2>/dev/null || true
  fi
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  local keep=${E2E_KEEP:-$(mktemp -d /tmp/orvalune-e2e.XXXXXX)}
  mkdir -p "$keep"
  cp "$work"/*.png "$work"/host.err "$keep"/ 2>/dev/null || true
  echo "FAILED: $*" >&2
  echo "pictures and the host's errors kept in $keep" >&2
  exit 1
}

step() { echo "--- $*"; }

# ---- Talking to the host ------------------------------------------------------------
# The helpers answer in variables, not on stdout: a command substitution runs
# in a subshell, where a failure could not end the test.

coproc HOST { exec "$@" 2>"$work/host.err"; }
host_pid=$HOST_PID
exec {to_host}>&"${HOST[1]}" {from_host}<&"${HOST[0]}"

ask() {  # COMMAND [SECONDS]: sends a command; the host's answer in $answer
  echo "$1" >&"$to_host"
  read -r -t "${2:-30}" answer <&"$from_host" || fail "the host did not answer '$1'"
  [[ "$answer" != error:* ]] || fail "host: $answer"
}
read_params() { ask params; values=(${answer#params }); }             # -> values[0..7]
read_fraction() { ask "fraction $1 $2"; fraction=${answer#fraction }; } # -> fraction
read_automations() {                                                   # -> automated, automated_items
  ask automations
  local fields=(${answer#automations })
  automated=${fields[0]}
  automated_items=("${fields[@]:1}")
}

# Waits until parameter INDEX shows VALUE (the host's exact text).
wait_param() {
  local index=$1 wanted=$2 deadline=$((SECONDS + 10))
  while :; do
    read_params
    [ "${values[$index]}" = "$wanted" ] && return 0
    [ $SECONDS -lt $deadline ] || fail "parameter $index is ${values[$index]}, expected $wanted"
    sleep 0.02
  done
}
# Waits until parameter INDEX shows the value of slider position P of S pixels.
wait_slider() {
  read_fraction "$2" "$3"
  wait_param "$1" "$fraction"
}

# ---- Pictures -------------------------------------------------------------------------

# The editor's pixels on the screen (the window system's own, no cursor).
shot() { import -window root -crop "${width}x${height}+${left}+${top}" +repage "$1"; }
# Number of differing pixels, within the region WxH+X+Y of the editor if given.
differing() {
  local a=$1 b=$2
  if [ $# -gt 2 ]; then
    convert "$a" -crop "$3" +repage "$work/crop-a.png"
    convert "$b" -crop "$3" +repage "$work/crop-b.png"
    a=$work/crop-a.png b=$work/crop-b.png
  fi
  compare -metric AE "$a" "$b" null: 2>&1 || true
}
# Waits until the editor on the screen shows REFERENCE exactly.
wait_picture() {
  local reference=$1 deadline=$((SECONDS + 10)) count
  while :; do
    shot "$work/screen.png"
    count=$(differing "$work/screen.png" "$reference")
    [ "$count" = 0 ] && return 0
    if [ $SECONDS -ge $deadline ]; then
      cp "$work/screen.png" "$work/screen-$(basename "$reference")"
      fail "the editor differs from $(basename "$reference") in $count pixels"
    fi
    sleep 0.05
  done
}
# Waits until region REGION of the screen differs from (or, with "same",
# equals) the same region of PICTURE.
wait_region() {
  local mode=$1 picture=$2 region=$3 deadline=$((SECONDS + 10)) count
  while :; do
    shot "$work/screen.png"
    count=$(differing "$work/screen.png" "$picture" "$region")
    if { [ "$mode" = same ] && [ "$count" = 0 ]; } || { [ "$mode" = different ] && [ "$count" != 0 ]; }; then
      return 0
    fi
    [ $SECONDS -lt $deadline ] || fail "region $region: expected $mode, $count pixels differ"
    sleep 0.05
  done
}

# Screen position of editor coordinates X Y.
at() { echo $((left + $1)) $((top + $2)); }

# ---- The test -----------------------------------------------------------------------------

xdotool mousemove 0 0  # outside the editor: the info line keeps its first text
read -r -t 120 ready <&"$from_host" || fail "the host did not start"
[ "$ready" = "ready 1" ] || fail "host: $ready"

step "opened: the editor shows program 0 as the headless render does"
"$render" --editor-snapshot "$work/open-reference.png" --quiet
wait_picture "$work/open-reference.png"

step "drag on the morph slider (left 150, top 70, 118 wide), out of its bounds both ways"
xdotool mousemove $(at 160 78) mousedown 1
wait_slider 3 10 118
xdotool mousemove $(at 219 78)
wait_slider 3 69 118
xdotool mousemove $(at -40 78)
wait_param 3 0
xdotool mousemove $(at 550 78)
wait_param 3 1
xdotool mouseup 1
read_automations
[ "$automated" -ge 4 ] || fail "the drag told the host of $automated changes, expected at least 4"

step "vowel e"
xdotool mousemove $(at 115 96) click 1
wait_slider 5 1 10

step "waveform switch: saw, square, noise"
xdotool mousemove $(at 244 43) click 1
wait_slider 0 4 10
xdotool click 1
wait_slider 0 8 10

step "randomise: parameters 0 to 5 change, dry/wet and volume do not, the host is not told"
read_params
before=("${values[@]}")
read_automations
automated_before=$automated
xdotool mousemove $(at 300 205) click 1
deadline=$((SECONDS + 10))
while :; do
  read_params
  [ "${values[*]:0:6}" != "${before[*]:0:6}" ] && break
  [ $SECONDS -lt $deadline ] || fail "randomise changed nothing"
  sleep 0.02
done
[ "${values[*]:6:2}" = "${before[*]:6:2}" ] || fail "randomise changed dry/wet or volume: ${values[*]}"
read_automations
[ "$automated" = "$automated_before" ] || fail "randomise told the host"

step "about strip shows the panel; a click on the panel where a slider lies hides it"
panel=281x165+0+28
shot "$work/before-about.png"
xdotool mousemove $(at 20 10) click 1
wait_region different "$work/before-about.png" "$panel"
read_params
morph=${values[3]}
xdotool mousemove $(at 200 78) click 1
wait_region same "$work/before-about.png" "$panel"
read_params
[ "${values[3]}" = "$morph" ] || fail "the click on the about panel reached the morph slider"
read_automations
[ "$automated" = "$automated_before" ] || fail "the click on the about panel changed a parameter"

step "double click on the attack slider: the second press moves nothing"
xdotool mousemove $(at 170 110) click 1 mousemove $(at 171 110) click 1
xdotool mousemove $(at 200 110) click 1
wait_slider 4 50 118
read_automations
attack=""
for item in "${automated_items[@]}"; do [[ "$item" == 4:* ]] && attack+="${item#4:} "; done
read_fraction 20 118
expected="$fraction "
read_fraction 50 118
expected+="$fraction "
[ "$attack" = "$expected" ] || fail "attack changes were '$attack', expected '$expected' (the first press and the last click)"

step "reopened: a new window shows the current values as the headless render does"
xdotool mousemove 0 0
ask reopen
[ "$answer" = "reopened 1" ] || fail "reopen failed: $answer"
read_params
settings=""
for index in 0 1 2 3 4 5 6 7; do settings+="${settings:+,}$index=${values[$index]}"; done
"$render" --editor-snapshot "$work/reopen-reference.png" --quiet -s "$settings"
wait_picture "$work/reopen-reference.png"

echo quit >&"$to_host"
status=0
wait "$host_pid" || status=$?
host_pid=""
[ "$status" = 0 ] || fail "the host ended with status $status"
echo "editor end-to-end test passed in $(( ($(date +%s%N) - started) / 1000000 )) ms"
