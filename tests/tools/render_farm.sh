#!/usr/bin/env bash
# scripts/render-farm on three local job slots gives the frames of one render, byte for byte, and a
# joined video with all its frames; a part that fails fails the farm.
#   render_farm.sh FARM KELVANE_RENDER DEMO
set -euo pipefail
farm=$1 render=$2 demo=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export PATH="$(dirname "$render"):$PATH" SDL_VIDEODRIVER=offscreen
range=(--demo "$demo" --from 51300 --to 52300 --fps 10 --size 160x120)

"$render" "${range[@]}" --jobs 1 --frames "$work/one" 2>/dev/null
"$farm" -S 3/: --parts 3 -- "${range[@]}" --frames "$work/farm" >/dev/null
diff -r "$work/one" "$work/farm"
[ "$(ls "$work/farm" | wc -l)" = 10 ]

"$farm" -S 2/: --parts 2 -- "${range[@]}" --video "$work/farm.mp4" >/dev/null
frames=$(ffprobe -v error -count_frames -select_streams v -show_entries stream=nb_read_frames -of csv=p=0 "$work/farm.mp4")
[ "$frames" = 10 ] || { echo "the joined video has $frames frames, not 10" >&2; exit 1; }

# A renderer whose second part fails.
cat >"$work/failing-render" <<EOS
#!/bin/sh
case "\$*" in *"--part 2/2"*) echo "part 2 failed" >&2; exit 1 ;; esac
exec "$render" "\$@"
EOS
chmod +x "$work/failing-render"
if "$farm" -S 2/: --parts 2 --renderer "$work/failing-render" -- "${range[@]}" --frames "$work/broken" \
    >/dev/null 2>"$work/err"; then
  echo "a failing part did not fail the farm" >&2
  exit 1
fi
grep -q "part 2 failed" "$work/err"
echo "render-farm: frames equal one render's, the video joined, a failing part fails the farm"
