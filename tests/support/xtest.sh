# Helpers for tests that drive real windows with xdotool; sources xserver.sh too.
# Each test script starts its own server, so tests can run side by side without stealing focus.

source "$(dirname "${BASH_SOURCE[0]}")/xserver.sh"

failures=0

fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

check_eq() {  # check_eq WHAT EXPECTED ACTUAL
  if [ "$2" != "$3" ]; then fail "$1: expected [$2], got [$3]"; else echo "ok: $1"; fi
}

# wait_for_window NAME [SECONDS]: prints the window id once a window of that exact name is mapped.
wait_for_window() {
  local id i
  for i in $(seq 1 $((${2:-10} * 10))); do
    id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1)
    if [ -n "$id" ]; then echo "$id"; return 0; fi
    sleep 0.1
  done
  return 1
}

# wait_for_line FILE PATTERN [SECONDS]
wait_for_line() {
  local i
  for i in $(seq 1 $((${3:-10} * 10))); do
    grep -q "$2" "$1" 2>/dev/null && return 0
    sleep 0.1
  done
  return 1
}

# wait_for_exit PID [SECONDS]: the exit code, or 124 after killing a process that did not end.
wait_for_exit() {
  local i
  for i in $(seq 1 $((${2:-10} * 10))); do
    if ! kill -0 "$1" 2>/dev/null; then
      wait "$1"
      return $?
    fi
    sleep 0.1
  done
  kill -9 "$1" 2>/dev/null
  wait "$1" 2>/dev/null
  return 124
}

# click WINDOW X Y: a left click at window coordinates.
click() {
  xdotool mousemove --window "$1" "$2" "$3" click 1
  sleep 0.2
}

# press WINDOW KEY...: focus the window, then send keys (keys sent with --window are unreliable
# without a window manager).
press() {
  local window=$1
  shift
  xdotool windowfocus --sync "$window"
  xdotool key "$@"
  sleep 0.2
}

# begin_x_test xvfb|xorg_dummy: starts that server and enters a fresh scratch folder ($work); both
# go when the script exits.
begin_x_test() {
  "start_$1" || exit 1
  work=$(mktemp -d)
  trap 'stop_xserver; cd /; rm -rf "$work"' EXIT
  cd "$work"
}

finish() {
  if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed" >&2
    exit 1
  fi
  echo "all checks passed"
}
