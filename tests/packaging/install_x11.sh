#!/usr/bin/env bash
# An install into a scratch prefix, tried as a user would. It holds the programs, their manual
# pages, the content, the desktop entry and the icon. The installed kelvane-render, started where
# there is no script.dlx, renders the build's own frame byte for byte from the installed content. The
# installed kelvane started there plays the installed content on Xvfb (the dialog answered, Escape
# after a few seconds) and keeps its trace in $XDG_STATE_HOME/kelvane, saying so on standard error.
# Usage: install_x11.sh BUILD_FOLDER KELVANE_RENDER
set -u
build=$1
render=$2
source "$(dirname "$0")/../support/xtest.sh"
begin_x_test xvfb
prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >install.log 2>&1 || fail "cmake --install: $(tail -5 install.log)"

present() { if [ -s "$prefix/$1" ]; then echo present; else echo missing; fi; }
for file in bin/kelvane bin/kelvane-render bin/hwl bin/texgen \
            share/man/man1/kelvane.1 share/man/man1/kelvane-render.1 share/man/man1/hwl.1 share/man/man1/texgen.1 \
            share/kelvane/demo/script.dlx share/kelvane/demo/kelvane.ogg share/applications/kelvane.desktop; do
  check_eq "installed $file" present "$(present "$file")"
done
check_eq "installed pictures" 22 "$(ls "$prefix/share/kelvane/demo/data" | grep -c '\.hwl$')"
check_eq "the icon, the demo's flower" "PNG 512x512" \
  "$(identify -format '%m %wx%h' "$prefix/share/icons/hicolor/512x512/apps/kelvane.png" 2>&1)"
check_eq "the manual's name line" "kelvane-render \\- render the Kelvane demo frame-exactly to PNG frames or a video" \
  "$(grep -A1 '^\.SH NAME' "$prefix/share/man/man1/kelvane-render.1" | tail -1)"

mkdir scratch && cd scratch
SDL_VIDEODRIVER=offscreen "$prefix/bin/kelvane-render" --at 30000 --png installed.png >render.out 2>&1
check_eq "installed renderer exit code" 0 $?
SDL_VIDEODRIVER=offscreen "$render" --demo "$build/demo" --at 30000 --png built.png >render.out 2>&1
cmp -s installed.png built.png
check_eq "the installed renderer's frame at 30 s is the build's" 0 $?

export XDG_STATE_HOME=$work/state
state=$XDG_STATE_HOME/kelvane
"$prefix/bin/kelvane" >demo.out 2>demo.err &
pid=$!
if window=$(wait_for_window Config) && click "$window" 58 100 && click "$window" 58 139 &&
   press "$window" Return && window=$(wait_for_window Glimmer 30); then
  wait_for_line "$state/debug.txt" 'Script File Loaded' 30
  sleep 2
  press "$window" Escape
  wait_for_exit $pid 30
  check_eq "installed demo exit code" 0 $?
  check_eq "the line on standard error" \
    "kelvane: no script.dlx here: playing $(realpath "$prefix/share/kelvane/demo"), debug.txt and error.txt go to $state" \
    "$(cat demo.err)"
  check_eq "textures loaded from the installed content" 22 "$(grep -c '^Loading new Texture |' "$state/debug.txt")"
  check_eq "the trace closes with the last texture" "-------------------------- | 0" "$(tail -1 "$state/debug.txt" | tr -d '\r')"
  check_eq "no report where it was started, nor an error report" "absent" \
    "$(if [ -e debug.txt ] || [ -e error.txt ] || [ -e "$state/error.txt" ]; then echo present; else echo absent; fi)"
else
  fail "no demo window: $(cat demo.out demo.err)"
  kill $pid 2>/dev/null
fi

finish
