# Starting and stopping X servers for tests. Source this file; it defines:
#   start_xvfb            Xvfb on a free display, 1024x768x24; exports DISPLAY
#   start_xorg_dummy      Xorg with the dummy driver, which can really switch display modes
#                         (640x480, 800x600, 1024x768; starts at 1024x768); exports DISPLAY
#   stop_xserver          stops whichever was started
# Both wait until the server answers, and fail loudly if it never does.

_xserver_pid=""
_xserver_dir=""
_xserver_display=""

# Runs an X server command on the first free display: the server itself takes the display (-displayfd
# writes its number back once it is listening), so servers started side by side never pick the same.
_start_server() {
  local i
  "$@" -displayfd 3 3>"$_xserver_dir/display" &
  _xserver_pid=$!
  for i in $(seq 1 100); do
    if grep -q . "$_xserver_dir/display" 2>/dev/null; then break; fi
    if ! kill -0 "$_xserver_pid" 2>/dev/null; then break; fi
    sleep 0.1
  done
  _xserver_display=$(head -1 "$_xserver_dir/display" 2>/dev/null)
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
  _xserver_dir=$(mktemp -d)
  _start_server Xvfb -screen 0 1024x768x24 -noreset -nolisten tcp 2>"$_xserver_dir/server.log"
  _wait_for_server "$_xserver_display" || return 1
  export DISPLAY=":$_xserver_display"
}

start_xorg_dummy() {
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
  _start_server Xorg -config "$_xserver_dir/xorg.conf" -noreset -nolisten tcp \
    -logfile "$_xserver_dir/server.log" 2>/dev/null
  _wait_for_server "$_xserver_display" || return 1
  export DISPLAY=":$_xserver_display"
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
