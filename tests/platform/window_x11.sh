#!/usr/bin/env bash
# The demo window on Xvfb: its log lines, Escape, other keys, the close box, and a full-screen mode
# the display does not offer. Usage: window_x11.sh WINDOW_PROBE X_CLOSE_REQUEST
set -u
probe=$1
close_request=$2
source "$(dirname "$0")/../support/xtest.sh"
begin_x_test xvfb

log() { printf '%s | 0\r\n' "$@"; }
window_exists() { xdotool search --name '^Glimmer$' >/dev/null 2>&1 && echo yes || echo no; }

# run_windowed NAME ACTION: a windowed probe that ACTION (given the window) must stop; then the loop's
# end state, and WindowClose once the probe may go on.
run_windowed() {
  "$probe" windowed >probe.out 2>probe.err &
  local pid=$! window
  if ! window=$(wait_for_window Glimmer); then
    fail "$1: no Glimmer window"
    kill $pid
    return
  fi
  wait_for_line probe.out CREATED 5
  "$2" "$window"
  wait_for_line probe.out LOOP-ENDED 5 || fail "$1 did not end the loop"
  check_eq "$1: loop end state" "active=0" "$(grep -o 'active=[01]' probe.out)"
  check_eq "$1: the window stays until WindowClose" "yes" "$(window_exists)"
  touch continue
  wait_for_exit $pid 10
  check_eq "$1: probe exit code" 0 $?
  check_eq "$1: window gone after WindowClose" "no" "$(window_exists)"
  rm -f continue debug.txt
}

# Windowed: exact trace, client area at (10, 10), a double buffer, other keys change nothing.
keys_then_escape() {
  check_eq "window trace" "$(log zenCreateWindow WindowRegister WindowCreate WindowInit 'Initialisation done.')" \
    "$(cat debug.txt)"
  check_eq "double-buffered" "double=1" "$(grep -o 'double=[01]' probe.out)"
  # The depth request is a minimum: GLX on Xvfb answers 16 with its deepest buffer.
  local depth=$(grep -o 'depth=[0-9]*' probe.out | cut -d= -f2)
  check_eq "depth buffer of at least 16 bits" "yes" "$([ "${depth:-0}" -ge 16 ] && echo yes || echo no)"
  eval "$(xdotool getwindowgeometry --shell "$1")"
  check_eq "window geometry" "10,10 640x480" "$X,$Y ${WIDTH}x$HEIGHT"
  press "$1" a space Return
  sleep 0.3
  check_eq "other keys keep it running" "" "$(grep LOOP-ENDED probe.out)"
  press "$1" Escape
}
run_windowed Escape keys_then_escape
run_windowed "the close box" "$close_request"

# Xvfb offers only its own 1024x768: 640x480 in full screen is refused before any window exists.
"$probe" fullscreen 640 480 32 >probe.out 2>probe.err
check_eq "unsupported mode exit code" 1 $?
check_eq "unsupported mode report" \
  "$(printf 'Sorry, but the following module had something to say:\r\n\r\nzenWinAPI\r\nScreen resolution is not supported by your gfx card!\r\n')" \
  "$(cat error.txt)"
check_eq "no window was created" "" "$(grep CREATED probe.out)"
check_eq "trace stops at WindowCreate" "$(log zenCreateWindow WindowRegister WindowCreate)" "$(cat debug.txt)"

finish
