#!/usr/bin/env bash
# kelvane-live on Xvfb, driven with xdotool, its window read back with ImageMagick and compared with
# kelvane-render's pictures of the same moments at the same size.
#   keys:   a fresh player paused at T shows exactly kelvane-render --at T; each transport key moves
#           the time as stated, and once kelvane-render has noted the demo for the player, the frame
#           shown after a seek is exactly kelvane-render's at the new time.
#   reload: in a copy of the demo, a scene moved in script.dlx shows at once at the same time; a broken
#           script, a truncated picture and a missing music file each keep the picture and say the
#           demo's own report; mending each reloads it.
#   rebuild: with --assets, R rebuilds the content from its sources and reloads what changed.
# What the player says on standard error comes once the frame that shows it is on screen, so each
# step waits for its line before it looks.
# Usage: live_x11.sh KELVANE_LIVE KELVANE_RENDER DEMO_FOLDER keys|reload|rebuild
set -u
live=$1
render=$2
demo=$3
mode=$4
source "$(dirname "$0")/../support/xtest.sh"
begin_x_test xvfb
export XDG_CACHE_HOME=$work/cache  # kelvane-render's seek notes, which the player reads

size=320x240
said=live.err

# start_live FOLDER FROM [ARG]: the player paused at FROM with the HUD hidden, --silent unless another
# ARG replaces it; sets $pid and $window.
start_live() {
  "$live" --demo "$1" --from "$2" --paused --no-hud --size $size ${3:---silent} 2>"$said" &
  pid=$!
  window=$(wait_for_window kelvane-live 30) || { fail "no kelvane-live window: $(cat "$said")"; finish; }
  wait_said 1 || { fail "the player never said where it stands"; finish; }
}

# wait_said N: until the player has said N lines.
wait_said() {
  local i
  for i in $(seq 1 300); do
    [ "$(wc -l <"$said")" -ge "$1" ] && return 0
    sleep 0.1
  done
  return 1
}

# key_said WHAT KEY EXPECTED: presses KEY and checks the line the player says for it.
key_said() {
  local lines
  lines=$(wc -l <"$said")
  press "$window" "$2"
  wait_said $((lines + 1))
  check_eq "$1" "kelvane-live: $3" "$(sed -n "$((lines + 1))p" "$said")"
}

# edit_said WHAT EXPECTED COMMAND...: runs COMMAND (an edit, a click) and checks what the player says.
edit_said() {
  local what=$1 expected=$2 lines
  shift 2
  lines=$(wc -l <"$said")
  "$@"
  wait_said $((lines + 1)) || { fail "$what: nothing said"; return; }
  check_eq "$what" "kelvane-live: $expected" "$(sed -n "$((lines + 1))p" "$said")"
}

shot() { import -window "$window" "png24:$1"; }
rendered() { "$render" --demo "$1" --at "$2" --size $size --png "$3" >/dev/null 2>&1 || fail "kelvane-render --at $2"; }
pixels_apart() { compare -metric AE "$@" "$1" "$2" null: 2>&1 | cut -d' ' -f1; }

# The picture on screen against kelvane-render's at MS. A fresh player must agree byte for byte.
# After seeks in a running player, the GL driver (Mesa llvmpipe) may round a few pixels one step
# apart from a fresh run, because it batches immediate-mode vertices by everything drawn since the
# context began; every pixel must still be within one step.
check_frame() {  # check_frame WHAT FOLDER MS exact|near
  shot "screen-$3.png"
  rendered "$2" "$3" "render-$3.png"
  if [ "$4" = exact ]; then
    check_eq "$1: pixels apart from kelvane-render --at $3" 0 "$(pixels_apart "screen-$3.png" "render-$3.png")"
  else
    echo "note: $1: $(pixels_apart "screen-$3.png" "render-$3.png") pixels differ in their last bit"
    check_eq "$1: pixels more than a step apart from kelvane-render --at $3" 0 \
      "$(pixels_apart "screen-$3.png" "render-$3.png" -fuzz 1%)"
  fi
}

# The player has kelvane-render note the whole demo in the background; once that ends, every seek
# is exact.
wait_for_notes() {
  local i
  for i in $(seq 1 1200); do
    pgrep -f "kelvane-render.*kelvane-live-notes" >/dev/null || break
    sleep 0.1
  done
  sleep 0.5  # the player looks for the notes between frames
  ls "$XDG_CACHE_HOME"/kelvane/seek/*.txt >/dev/null 2>&1
}

quit_live() {
  press "$window" Escape
  wait_for_exit $pid 30
  check_eq "Escape exit code" 0 $?
}

keys() {
  start_live "$demo" 30000
  check_eq "start" "kelvane-live: paused at 00:30.000" "$(head -1 "$said")"
  check_frame "fresh at 30000" "$demo" 30000 exact
  shot still-a.png
  sleep 0.5
  shot still-b.png
  check_eq "paused, the window shows the same frame" 0 "$(pixels_apart still-a.png still-b.png)"

  wait_for_notes || fail "kelvane-render left no notes for the player"
  key_said "Right" Right "at 00:31.000"
  check_frame "after Right" "$demo" 31000 exact
  key_said "Shift+Left" shift+Left "at 00:30.900"
  key_said "Ctrl+Right" ctrl+Right "at 00:40.900"
  check_frame "after Ctrl+Right" "$demo" 40900 exact
  key_said "PageDown" Next "at 00:44.075"
  key_said "PageUp" Prior "at 00:34.450"
  key_said "Ctrl+Left" ctrl+Left "at 00:24.450"
  key_said "Home" Home "at 00:00.000"
  key_said "Ctrl+Left at 0" ctrl+Left "at 00:00.000"
  key_said "End" End "at 01:39.890"
  key_said "R without --assets" r "R rebuilds the content only with --assets DIR"

  # A loop of one second: played, the time stays inside it.
  key_said "Home" Home "at 00:00.000"
  for k in 1 2 3 4 5; do key_said "step $k" ctrl+Right "at 00:$((k))0.000"; done
  key_said "loop in" i "loop in at 00:50.000"
  key_said "Right" Right "at 00:51.000"
  key_said "loop out" o "loop out at 00:51.000"
  key_said "looping" l "looping on"
  key_said "play" space "playing from 00:51.000"
  wait_said $(($(wc -l <"$said") + 2))  # the end of the loop: back to the in point, twice
  check_eq "the loop jumps back to its in point" "kelvane-live: at 00:50.000" "$(tail -1 "$said")"
  press "$window" space
  wait_said $(($(wc -l <"$said") + 1))
  paused=$(tail -1 "$said" | sed -n 's/^kelvane-live: paused at 00:\([0-9][0-9]\)\.\([0-9]*\)$/\1\2/p')
  if [ -n "$paused" ] && [ "$((10#$paused))" -ge 50000 ] && [ "$((10#$paused))" -lt 51000 ]; then
    echo "ok: paused inside the loop ($(tail -1 "$said"))"
  else
    fail "paused outside the loop: $(tail -1 "$said")"
  fi
  # H shows the HUD over the same frame and hides it again.
  key_said "loop off" l "looping off"
  key_said "Home" Home "at 00:00.000"
  key_said "to a quiet moment" ctrl+Right "at 00:10.000"
  shot hidden.png
  press "$window" h
  sleep 1
  shot shown.png
  press "$window" h
  sleep 1
  shot hidden-again.png
  if [ "$(pixels_apart hidden.png shown.png)" -lt 500 ]; then fail "H showed no HUD"; else echo "ok: H shows the HUD"; fi
  check_eq "H again hides it" 0 "$(pixels_apart hidden.png hidden-again.png)"
  # The HUD's timeline bar runs from x 8 to 312 along the bottom: its middle is half the demo.
  press "$window" h
  edit_said "a click on the middle of the bar" "at 00:49.945" click "$window" 160 220
  quit_live

  # No sound device: one warning, and the player keeps its time on the silent output.
  SDL_AUDIODRIVER=kelvane_no_such_driver start_live "$demo" 30000 --paused
  wait_said 2
  check_eq "no sound device" \
    "kelvane-live: Error initializing output device: the music keeps its time without sound|kelvane-live: paused at 00:30.000" \
    "$(head -2 "$said" | paste -sd'|')"
  key_said "plays without sound" space "playing from 00:30.000"
  quit_live
}

reload() {
  mkdir content
  cp -r "$demo/script.dlx" "$demo/data" "$demo"/*.ogg content/
  start_live content 40000
  shot before.png
  edit_said "a scene moved" "reloaded script.dlx" \
    sed -i 's/^@scene Scene05 1 34450 44074 $/@scene Scene08 1 34450 44074 /' content/script.dlx
  check_frame "the moved scene at the same time" content 40000 near
  if [ "$(pixels_apart before.png screen-40000.png)" -lt 1000 ]; then fail "the moved scene does not show"; fi

  cp content/script.dlx good.dlx
  edit_said "a broken script" "zenTimeline: Something is wrong with the Script! (Could not read out the Scene Name)" \
    sed -i 's/^@scene Scene08 1 34450 44074 $/@scene Scene03 1 34450 44074 /' content/script.dlx
  shot kept.png
  check_eq "a broken script keeps the picture" 0 "$(pixels_apart kept.png screen-40000.png)"
  edit_said "the script mended" "reloaded script.dlx" cp good.dlx content/script.dlx

  cp content/data/birdie.hwl birdie.hwl
  edit_said "a truncated picture" "I/O error 100 (read past the end of the file): data/birdie.hwl" \
    truncate -s 100 content/data/birdie.hwl
  edit_said "the picture mended" "reloaded data/birdie.hwl" cp birdie.hwl content/data/birdie.hwl

  edit_said "a missing music file" "FMOD: File not found" mv content/kelvane.ogg kelvane.ogg
  shot kept-music.png
  check_eq "a missing music file keeps the picture" 0 "$(pixels_apart kept-music.png screen-40000.png)"
  edit_said "the music back" "reloaded kelvane.ogg" mv kelvane.ogg content/kelvane.ogg
  check_frame "after the reloads" content 40000 near
  quit_live
}

# With --assets, R rebuilds the content from a copy of the sources: nothing when nothing changed; an
# edited texture program replaces and reloads its one picture, as make-pictures builds it; a broken
# one replaces nothing; an edited script is copied and reloaded.
rebuild() {
  mkdir content
  cp -r "$demo/script.dlx" "$demo/data" "$demo"/*.ogg content/
  cp -r "$(dirname "$0")/../../assets" sources
  start_live content 40000 "--silent --assets sources"
  rebuilt_said() {  # rebuilt_said WHAT LINE...: presses R and checks the lines said after it
    local what=$1 lines
    shift
    lines=$(wc -l <"$said")
    press "$window" r
    wait_said $((lines + $#)) || { fail "$what: said only $(tail -n +$((lines + 1)) "$said" | paste -sd'|')"; return; }
    check_eq "$what" "$(printf 'kelvane-live: %s|' "$@")" "$(tail -n +$((lines + 1)) "$said" | head -$# | sed 's/$/|/' | tr -d '\n')"
  }
  rebuilt_said "nothing changed" "rebuilding from $PWD/sources" "rebuilt: nothing changed"

  sed -i 's/perlinNoise(0,32,4711,/perlinNoise(0,32,4712,/' sources/textures/reddir.tg
  rebuilt_said "an edited texture program" "rebuilding from $PWD/sources" "rebuilt data/background_reddir.hwl" \
    "reloaded data/background_reddir.hwl"
  "$(dirname "$live")/../make-pictures/make-pictures" --assets sources --out expected >/dev/null
  check_eq "the picture make-pictures builds" same \
    "$(cmp -s expected/data/background_reddir.hwl content/data/background_reddir.hwl && echo same)"
  check_eq "the other pictures untouched" same "$(cmp -s "$demo/data/flower1.hwl" content/data/flower1.hwl && echo same)"
  check_frame "the rebuilt picture at the same time" content 40000 near

  cp content/data/background_reddir.hwl reddir-before.hwl
  sed -i 's/motionBlur(0,0,14);/motionBlur(0,0,;/' sources/textures/reddir.tg
  lines=$(wc -l <"$said")
  press "$window" r
  wait_said $((lines + 2))
  check_eq "a broken texture program" "make-pictures failed: " \
    "$(tail -1 "$said" | sed 's/^kelvane-live: \(make-pictures failed: \).*/\1/')"
  check_eq "a failed rebuild replaces nothing" same "$(cmp -s reddir-before.hwl content/data/background_reddir.hwl && echo same)"
  sed -i 's/motionBlur(0,0,;/motionBlur(0,0,14);/' sources/textures/reddir.tg

  sed -i 's/^@scene Scene05 1 34450 44074 $/@scene Scene08 1 34450 44074 /' sources/script.dlx
  rebuilt_said "an edited script" "rebuilding from $PWD/sources" "rebuilt script.dlx" "reloaded script.dlx"
  check_frame "the new script at the same time" content 40000 near
  quit_live
}

"$mode"
finish
