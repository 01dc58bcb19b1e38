#!/usr/bin/env bash
# The whole demo on Xvfb, windowed and with music off, in a scratch folder linked to the built
# content: Escape in the middle ends it with a complete shut-down, and a run left alone plays to the
# end of the music and exits 0 with the complete start-up and shut-down trace.
# Usage: demo_x11.sh KELVANE DEMO_FOLDER [full]
set -u
kelvane=$1
content=$2
mode=${3:-escape}
source "$(dirname "$0")/../support/xtest.sh"
begin_x_test xvfb
for entry in "$content"/script.dlx "$content"/data "$content"/*.ogg; do ln -s "$entry" .; done

count() { grep -c "^$1 |" debug.txt; }

# Starts the demo and answers the dialog: Fullscreen off, Music off, Go!.
start_demo() {
  "$kelvane" >demo.out 2>&1 &
  pid=$!
  local window
  window=$(wait_for_window Config) || { fail "no Config dialog"; return 1; }
  click "$window" 58 100
  click "$window" 58 139
  press "$window" Return
}

check_shutdown_trace() {
  check_eq "$1: textures loaded" 22 "$(count 'Loading new Texture')"
  check_eq "$1: textures disposed" 22 "$(count 'Disposing Texture')"
  check_eq "$1: script loaded" 1 "$(count 'Script File Loaded')"
  check_eq "$1: the window steps come first" \
    "zenCreateWindow WindowRegister WindowCreate WindowInit Initialisation done." \
    "$(head -5 debug.txt | sed 's/ | 0\r$//' | tr '\n' ' ' | sed 's/ $//')"
  check_eq "$1: the last line closes the last texture" "-------------------------- | 0" "$(tail -1 debug.txt | tr -d '\r')"
  check_eq "$1: no error report" "absent" "$([ -e error.txt ] && echo present || echo absent)"
}

if [ "$mode" = escape ]; then
  if start_demo && window=$(wait_for_window Glimmer 30); then
    wait_for_line debug.txt 'Script File Loaded' 30
    sleep 2
    press "$window" Escape
    wait_for_exit $pid 30
    check_eq "Escape exit code" 0 $?
    check_shutdown_trace "Escape"
  else
    fail "no demo window: $(cat demo.out)"
  fi
else
  start_demo
  wait_for_exit $pid 300
  check_eq "full run exit code" 0 $?
  check_shutdown_trace "full run"
fi

finish
