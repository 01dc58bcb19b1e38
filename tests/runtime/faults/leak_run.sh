#!/usr/bin/env bash
# A whole headless run of the demo in the sanitizer build: start-up, 100 frames, shut-down, with
# LeakSanitizer on. It must end normally, draw its 100 frames, load and dispose of every texture,
# and the sanitizers must report nothing (a leak or a memory error makes the program exit non-zero).
# Usage: leak_run.sh HEADLESS_DEMO DEMO_FOLDER
set -u
demo=$1
content=$2
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../../support/xtest.sh"
[ -e "$content/script.dlx" ] || { echo "no demo content in $content" >&2; exit 1; }
work=$(mktemp -d)
cd "$work"
for entry in "$content"/script.dlx "$content"/data "$content"/*.ogg; do ln -s "$entry" .; done

export ASAN_OPTIONS="detect_leaks=1:${ASAN_OPTIONS:-}"
export LSAN_OPTIONS="${LSAN_OPTIONS:-suppressions=$here/../../support/lsan.supp:print_suppressions=0}"
env -u DISPLAY SDL_VIDEODRIVER=offscreen "$demo" --frames 100 >run.out 2>run.err
code=$?
check_eq "exit code" 0 $code
check_eq "frames" "frames drawn: 100" "$(cat run.out)"
check_eq "sanitizer reports" "" "$(grep -E 'Sanitizer|runtime error' run.err | head -5)"
check_eq "textures loaded" 22 "$(grep -c '^Loading new Texture |' debug.txt)"
check_eq "textures disposed" 22 "$(grep -c '^Disposing Texture |' debug.txt)"
[ $code -eq 0 ] || tail -40 run.err >&2
cd / && rm -rf "$work"
finish
