# Starting and stopping X servers for tests. Source this file; it defines:
#   start_xvfb            Xvfb on a free display, 1024x768x24; exports DISPLAY
#   start_xorg_dummy      Xorg with the dummy driver, which can really switch display modes
#                         (640x480, 800x600, 1024x768; starts at 1024x768); exports DISPLAY
#   stop_xserver          stops whichever was started
# Both wait until the server answers, and fail loudly if it never does.

_xserver_pid=""
_xserver_dir=""

_free_display() {
  local n
  for n in $(seq 90 190); do
    if [ ! -e "/tmp/.X${n}-lock" ] && [ ! -e "/tmp/.X11-unix/X${n}" ]; then
      echo "$n"
      return 0
    fi
  done
  return 1
}

_wait_for_server() {
  local i
  for i in $(seq 1 100); do
    if xdpyinfo -display ":$1" >/dev/null 2>&1; then return 0; fi
    if ! kill -0 "$_xserver_pid" 2>/dev/null; then break; fi
    sleep 0.1
  done
  echo "X server :$1 did not start" >&2
  [ -n "$_xserver_dir" ] && [ -f "$_xserver_dir/server.log" ] && tail -20 "$_xserver_dir/server.log" >&2
  return 1
}

start_xvfb() {
  local n
  n=$(_free_display)
  _xserver_dir=$(mktemp -d)
  Xvfb ":$n" -screen 0 1024x768x24 -noreset -nolisten tcp >"$_xserver_dir/server.log" 2>&1 &
  _xserver_pid=$!
  _wait_for_server "$n"
  export DISPLAY=":$n"
}

start_xorg_dummy() {
  local n
  n=$(_free_display)
  _xserver_dir=$(mktemp -d)
  cat >"$_xserver_dir/xorg.conf" <<'CONF'
Section "Device"
  Identifier "dummy"
  Driver "dummy"
  VideoRam 65536
EndSection
Section "Monitor"
  Identifier "monitor"
  HorizSync 5.0-1000.0
  VertRefresh 5.0-200.0
  Modeline "1024x768" 65.0 1024 1048 1184 1344 768 771 777 806 -hsync -vsync
  Modeline "800x600" 40.0 800 840 968 1056 600 601 605 628 +hsync +vsync
  Modeline "640x480" 25.175 640 656 752 800 480 490 492 525 -hsync -vsync
EndSection
Section "Screen"
  Identifier "screen"
  Device "dummy"
  Monitor "monitor"
  DefaultDepth 24
  SubSection "Display"
    Depth 24
    Modes "1024x768" "800x600" "640x480"
  EndSubSection
EndSection
CONF
  Xorg ":$n" -config "$_xserver_dir/xorg.conf" -noreset -nolisten tcp \
    -logfile "$_xserver_dir/server.log" >/dev/null 2>&1 &
  _xserver_pid=$!
  _wait_for_server "$n"
  export DISPLAY=":$n"
}

stop_xserver() {
  if [ -n "$_xserver_pid" ]; then
    kill "$_xserver_pid" 2>/dev/null || true
    wait "$_xserver_pid" 2>/dev/null || true
    _xserver_pid=""
  fi
  [ -n "$_xserver_dir" ] && rm -rf "$_xserver_dir"
  _xserver_dir=""
}
