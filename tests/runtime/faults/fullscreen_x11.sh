#!/usr/bin/env bash
# The demo asked for full screen on a real X display (Xvfb: 1024x768 only). A size the display lacks
# ends it with its report before any window, and the display keeps its mode; the size it has plays.
# Nothing of the content is changed by either run, and no window stays behind.
# Usage: fullscreen_x11.sh HEADLESS_DEMO DEMO_FOLDER
set -u
demo=$1
content=$2
source "$(dirname "$0")/../../support/xtest.sh"
begin_x_test xvfb
cp -r "$content"/script.dlx "$content"/data "$content"/*.ogg .
before=$(find . -type f ! -name debug.txt -exec md5sum {} + | sort)

screen_size() { xdpyinfo | sed -n 's/ *dimensions: *\([0-9x]*\) pixels.*/\1/p'; }
glimmer_windows() { xdotool search --name '^Glimmer$' 2>/dev/null | wc -l; }

"$demo" --fullscreen --size 800x600 --frames 3 >demo.out 2>&1
check_eq "missing mode exit code" 1 $?
check_eq "missing mode report" \
  "$(printf 'Sorry, but the following module had something to say:\r\n\r\nzenWinAPI\r\nScreen resolution is not supported by your gfx card!\r\n')" \
  "$(cat error.txt)"
check_eq "missing mode leaves the display as it was" 1024x768 "$(screen_size)"
check_eq "missing mode leaves no window" 0 "$(glimmer_windows)"
rm -f error.txt

"$demo" --fullscreen --size 1024x768 --frames 3 >demo.out 2>&1
check_eq "the display's own mode plays" 0 $?
check_eq "no report" absent "$([ -e error.txt ] && echo present || echo absent)"
check_eq "the display's own mode is still in force" 1024x768 "$(screen_size)"
check_eq "no window after the run" 0 "$(glimmer_windows)"

check_eq "the content is unchanged" "$before" "$(find . -type f ! -name debug.txt ! -name demo.out -exec md5sum {} + | sort)"
finish
