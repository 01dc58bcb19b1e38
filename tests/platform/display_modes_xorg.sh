#!/usr/bin/env bash
# Real display-mode changes on Xorg with the dummy driver (Xvfb has one mode only). The desktop is
# 1024x768; full screen at 640x480 must switch to it, hide the cursor, and give 1024x768 back at
# WindowClose, and also when a fatal error ends the program in full screen or the display does not keep
# the mode it was switched to.
# Usage: display_modes_xorg.sh WINDOW_PROBE
set -u
probe=$1
source "$(dirname "$0")/../support/xtest.sh"
if [ "$(id -u)" != 0 ]; then
  echo "skipped: Xorg with the dummy driver needs root"
  exit 0
fi
begin_x_test xorg_dummy

current_mode() { xrandr 2>/dev/null | awk '/\*/ {print $1; exit}'; }

check_eq "desktop mode" "1024x768" "$(current_mode)"

"$probe" fullscreen 640 480 32 >probe.out 2>probe.err &
pid=$!
if wait_for_line probe.out CREATED 10; then
  check_eq "full-screen mode in force" "640x480" "$(current_mode)"
  check_eq "cursor hidden" "cursor-hidden=1" "$(grep -o 'cursor-hidden=[01]' probe.out)"
  wait_for_line probe.out LOOP-ENDED 20
  touch continue
  wait_for_exit $pid 10
  check_eq "probe exit code" 0 $?
  check_eq "desktop mode back after WindowClose" "1024x768" "$(current_mode)"
else
  fail "no full-screen window: $(cat probe.err)"
  kill $pid
fi
rm -f continue

"$probe" fullscreen-fatal 800 600 >probe.out 2>probe.err
check_eq "fatal error exit code" 1 $?
check_eq "switched before the failure" "mode=800x600" "$(grep -o 'mode=[0-9x]*' probe.out)"
check_eq "desktop mode back after a fatal error" "1024x768" "$(current_mode)"

# A mode the display does not list changes nothing.
"$probe" fullscreen 1280 1024 32 >probe.out 2>probe.err
check_eq "unlisted mode exit code" 1 $?
check_eq "unlisted mode message" "Screen resolution is not supported by your gfx card!" "$(sed -n 4p error.txt | tr -d '\r')"
check_eq "desktop mode untouched" "1024x768" "$(current_mode)"

# A mode the display lists but then does not keep is refused the same way, and the desktop mode
# comes back.
"$probe" fullscreen-switch-fails 640 480 >probe.out 2>probe.err
check_eq "refused switch exit code" 1 $?
check_eq "refused switch message" "Screen resolution is not supported by your gfx card!" "$(sed -n 4p error.txt | tr -d '\r')"
check_eq "no window left to the program" "" "$(cat probe.out)"
check_eq "desktop mode back after a refused switch" "1024x768" "$(current_mode)"

finish
