#!/bin/sh
# Frames per second of kelvane-render: 10 s of each scene at 640x480 and 1280x960.
#
# Usage: bench/render/render-fps.sh [KELVANE_RENDER] [DEMO_FOLDER]
#        bench/render/render-fps.sh --help | --version
#
# Each run first seeks to its scene (so the beat overlay and the random choices are those of a
# render from 0); the figure printed is for the written frames only, in one process, as
# kelvane-render --timing reports it. Frames go to a scratch folder that is removed again.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
built=$here/../../build/tools/kelvane-render/kelvane-render
if [ -x "$built" ]; then default_render=$built; else default_render=kelvane-render; fi
case "${1:-}" in
  --help)
    sed -n '2,9p' "$0" | sed 's/^# \{0,1\}//'
    echo "(BENCH_FPS and BENCH_SECONDS change the frame rate, 60, and the seconds per scene, 10.)"
    exit 0 ;;
  --version)
    echo "render-fps.sh (Kelvane) $("$default_render" --version | sed 's/.* //')"
    exit 0 ;;
esac
render=${1:-$default_render}
demo=${2:-$here/../../build/demo}
fps=${BENCH_FPS:-60}
seconds=${BENCH_SECONDS:-10}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

# Scene starts from the demo's running order (assets/script.dlx).
scenes="Scene01:0 Scene02:22900 Scene05:34450 Scene06:44075 Scene08:51775 Scene09:63325 Scene10:74875 Scene11:84531"

printf '%-8s %-10s %8s %10s\n' scene size frames fps
for size in 640x480 1280x960; do
  for entry in $scenes; do
    name=${entry%%:*}
    from=${entry#*:}
    to=$((from + seconds * 1000))
    rm -rf "$scratch/frames"
    line=$("$render" --demo "$demo" --from "$from" --to "$to" --fps "$fps" --size "$size" --jobs 1 \
                     --frames "$scratch/frames" --timing 2>&1 >/dev/null | grep ' fps ')
    frames=$(echo "$line" | sed -n 's/.*: \([0-9]*\) frames in.*/\1/p')
    rate=$(echo "$line" | sed -n 's/.*, \([0-9.]*\) fps.*/\1/p')
    printf '%-8s %-10s %8s %10s\n' "$name" "$size" "$frames" "$rate"
  done
done
