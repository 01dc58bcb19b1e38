#!/usr/bin/env bash
# kelvane-live built with AddressSanitizer on Xvfb: 300 random transport keys while it plays, and 30
# reloads between them, a third of them broken files (a script error, a truncated or corrupt picture,
# the music moved away) each mended again. It must neither crash nor leak, answer every reload, and
# quit with 0 on Escape.
# Usage: live_soak_x11.sh KELVANE_LIVE DEMO_FOLDER
set -u
live=$1
demo=$2
source "$(dirname "$0")/../support/xtest.sh"
begin_x_test xvfb

mkdir content
cp -r "$demo/script.dlx" "$demo/data" "$demo"/*.ogg content/
cp content/script.dlx good.dlx
cp content/data/birdie.hwl birdie.hwl
"$live" --demo content --size 160x120 --silent 2>live.err &
pid=$!
window=$(wait_for_window kelvane-live 60) || { fail "no kelvane-live window: $(cat live.err)"; finish; }
xdotool windowfocus --sync "$window"

keys=(space Left Right shift+Left shift+Right ctrl+Left ctrl+Right Prior Next Home End i o l h)
# The reloads, in turn: every broken one is followed by its mend.
edits=(
  "sed -i s/^@scene\ Scene05\ 1\ 34450\ 44074\ \$/@scene\ Scene08\ 1\ 34450\ 44074\ / content/script.dlx"
  "sed -i s/^@scene\ Scene02\ /@scene\ Scene03\ / content/script.dlx"
  "cp good.dlx content/script.dlx"
  "truncate -s 100 content/data/birdie.hwl"
  "cp birdie.hwl content/data/birdie.hwl"
  "mv content/kelvane.ogg kelvane.ogg"
  "mv kelvane.ogg content/kelvane.ogg"
  "dd if=/dev/urandom of=content/data/birdie.hwl bs=1 seek=40 count=200 conv=notrunc status=none"
  "cp birdie.hwl content/data/birdie.hwl"
  "touch content/data/flower1.hwl"
)
answers() { grep -cv -e ' at ' -e 'playing from' -e 'looping o' live.err; }

RANDOM=20261207
for round in $(seq 0 29); do
  batch=()
  for k in $(seq 1 10); do batch+=("${keys[RANDOM % ${#keys[@]}]}"); done
  xdotool key --delay 40 "${batch[@]}"
  before=$(answers)
  eval "${edits[round % ${#edits[@]}]}"
  for i in $(seq 1 100); do [ "$(answers)" -gt "$before" ] && break; sleep 0.1; done
  kill -0 $pid 2>/dev/null || break
done
if [ "$(answers)" -ge 30 ]; then echo "ok: every reload answered"; else fail "$(answers) of 30 reloads answered"; fi
xdotool key Escape
wait_for_exit $pid 60
check_eq "exit code after Escape" 0 $?
echo "note: the player said $(wc -l <live.err) lines, $(grep -c " at " live.err) of them moves"
check_eq "sanitizer reports" 0 "$(grep -c -e 'Sanitizer' -e 'runtime error' live.err)"
grep -e 'Sanitizer' -e 'runtime error' -A20 live.err | head -60 >&2
finish
