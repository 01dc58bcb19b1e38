#!/usr/bin/env bash
# The demo window on Xvfb: its log lines, Escape, other keys, and a full-screen mode the display
# does not offer, the close box. Usage: window_x11.sh WINDOW_PROBE X_CLOSE_REQUEST
set -u
probe=$1
close_request=$2
source "$(dirname "$0")/../support/xtest.sh"
begin_x_test xvfb

expected_log=$(printf 'zenCreateWindow | 0\r\nWindowRegister | 0\r\nWindowCreate | 0\r\nWindowInit | 0\r\nInitialisation done. | 0\r\n')

# Windowed: exact trace, client area at (10, 10), Escape ends the loop but the window stays.
"$probe" windowed >probe.out 2>probe.err &
pid=$!
if window=$(wait_for_window Glimmer); then
  check_eq "window trace" "$expected_log" "$(cat debug.txt)"
  wait_for_line probe.out CREATED 5
  # The depth request is a minimum: GLX on Xvfb answers 16 with its deepest buffer.
  check_eq "double-buffered" "double=1" "$(grep -o 'double=[01]' probe.out)"
  depth=$(grep -o 'depth=[0-9]*' probe.out | cut -d= -f2)
  check_eq "depth buffer of at least 16 bits" "yes" "$([ "${depth:-0}" -ge 16 ] && echo yes || echo no)"
  eval "$(xdotool getwindowgeometry --shell "$window")"
  check_eq "window geometry" "10,10 640x480" "$X,$Y ${WIDTH}x$HEIGHT"
  press "$window" a space Return
  sleep 0.3
  check_eq "other keys keep it running" "" "$(grep LOOP-ENDED probe.out)"
  press "$window" Escape
  wait_for_line probe.out LOOP-ENDED 5 || fail "Escape did not end the loop"
  check_eq "loop end state" "active=0" "$(grep -o 'active=[01]' probe.out)"
  check_eq "window still exists after Escape" "yes" \
    "$(xdotool search --name '^Glimmer$' >/dev/null 2>&1 && echo yes || echo no)"
  touch continue
  wait_for_exit $pid 10
  check_eq "probe exit code" 0 $?
  check_eq "window gone after WindowClose" "no" \
    "$(xdotool search --name '^Glimmer$' >/dev/null 2>&1 && echo yes || echo no)"
else
  fail "no Glimmer window"
  kill $pid
fi
rm -f continue debug.txt

# The close box ends the loop as Escape does.
"$probe" windowed >probe.out 2>probe.err &
pid=$!
if window=$(wait_for_window Glimmer); then
  wait_for_line probe.out CREATED 5
  "$close_request" "$window"
  wait_for_line probe.out LOOP-ENDED 5 || fail "the close box did not end the loop"
  check_eq "close box: loop end state" "active=0" "$(grep -o 'active=[01]' probe.out)"
  touch continue
  wait_for_exit $pid 10
  check_eq "close box: probe exit code" 0 $?
else
  fail "no Glimmer window for the close box"
  kill $pid
fi
rm -f continue debug.txt

# Xvfb offers only its own 1024x768: 640x480 in full screen is refused before any window exists.
"$probe" fullscreen 640 480 32 >probe.out 2>probe.err
check_eq "unsupported mode exit code" 1 $?
check_eq "unsupported mode report" \
  "$(printf 'Sorry, but the following module had something to say:\r\n\r\nzenWinAPI\r\nScreen resolution is not supported by your gfx card!\r\n')" \
  "$(cat error.txt)"
check_eq "no window was created" "" "$(grep CREATED probe.out)"
check_eq "trace stops at WindowCreate" "$(printf 'zenCreateWindow | 0\r\nWindowRegister | 0\r\nWindowCreate | 0\r\n')" "$(cat debug.txt)"
rm -f error.txt debug.txt

finish
