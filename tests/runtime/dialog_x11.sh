#!/usr/bin/env bash
# The Config dialog for real on Xvfb: clicks and keys in, settings and exit codes out.
# Usage: dialog_x11.sh DIALOG_PROBE KELVANE X_CLOSE_REQUEST
set -u
probe=$1
kelvane=$2
close_request=$3
source "$(dirname "$0")/../support/xtest.sh"
begin_x_test xvfb

# Control centres in pixels, from the template's dialog units (x * 1.5, y * 1.625).
fullscreen_box="58 100"
truecolor_box="58 120"
resolution_list="142 42"
cancel_button="165 192"
go_button="45 192"

# run_dialog ACTIONS...: starts the probe, runs each action ("click X Y", "key K..." or "close", the
# close box) on the dialog, and prints what the probe printed.
run_dialog() {
  "$probe" >probe.out 2>probe.err &
  local pid=$! window
  window=$(wait_for_window Config) || { fail "no Config window: $(cat probe.err)"; kill $pid; return; }
  local action
  for action in "$@"; do
    case "$action" in
      click*) click "$window" ${action#click } ;;
      key*) press "$window" ${action#key } ;;
      close) "$close_request" "$window" ;;
    esac
  done
  wait_for_exit $pid 10
  echo "rc=$? $(cat probe.out)"
}

check_eq "defaults with Enter" "rc=0 width=640 height=480 bits=32 fullscreen=1 music=1" "$(run_dialog "key Return")"
check_eq "Go! button" "rc=0 width=640 height=480 bits=32 fullscreen=1 music=1" "$(run_dialog "click $go_button")"
check_eq "True Color once" "rc=0 width=640 height=480 bits=16 fullscreen=1 music=1" \
  "$(run_dialog "click $truecolor_box" "key Return")"
check_eq "True Color twice" "rc=0 width=640 height=480 bits=32 fullscreen=1 music=1" \
  "$(run_dialog "click $truecolor_box" "click $truecolor_box" "key Return")"
check_eq "Fullscreen off" "rc=0 width=640 height=480 bits=32 fullscreen=0 music=1" \
  "$(run_dialog "click $fullscreen_box" "key Return")"
check_eq "1024 x 768" "rc=0 width=1024 height=768 bits=32 fullscreen=1 music=1" \
  "$(run_dialog "click $resolution_list" "key Down" "key Down" "key Return" "click $go_button")"
check_eq "Escape does nothing" "rc=0 width=640 height=480 bits=16 fullscreen=1 music=1" \
  "$(run_dialog "key Escape" "click $truecolor_box" "key Escape" "key Return")"
check_eq "Cancel" "rc=0 " "$(run_dialog "click $cancel_button")"
check_eq "close box" "rc=0 " "$(run_dialog "click $truecolor_box" "close")"

# The demo itself: Cancel leaves no trace (without a display: the fault matrix).
rm -f debug.txt error.txt
"$kelvane" >demo.out 2>&1 &
pid=$!
window=$(wait_for_window Config) && click "$window" $cancel_button
wait_for_exit $pid 10
check_eq "demo Cancel exit code" 0 $?
check_eq "demo Cancel writes no debug.txt" "absent" "$([ -e debug.txt ] && echo present || echo absent)"

finish
