#!/usr/bin/env bash
# Draws res/lorvane.ico (16, 20, 24, 32, 40, 48 and 64 px: the small and large icon at
# 100, 125, 150 and 200 % display scale): a globe on a rounded teal tile with a small
# green "live" dot, the program's mark. Run by hand after changing the drawing; the
# build uses the committed icon.
set -euo pipefail
cd "$(dirname "$0")/.."
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
# Drawn once at 192 px, then scaled down so the small sizes stay crisp.
convert -size 192x192 xc:none \
  -fill '#136f7a' -draw 'roundrectangle 6,6 186,186 36,36' \
  -fill none -stroke white -strokewidth 12 -draw 'circle 96,96 96,30' \
  -strokewidth 9 -draw 'ellipse 96,96 30,66 0,360' \
  -draw 'line 30,96 162,96' -draw 'line 96,30 96,162' \
  -strokewidth 7 -draw 'line 42,62 150,62' -draw 'line 42,130 150,130' \
  -stroke '#136f7a' -strokewidth 8 -fill '#3ddc68' -draw 'circle 150,150 150,122' \
  "$tmp/big.png"
sizes=(16 20 24 32 40 48 64)
frames=()
for s in "${sizes[@]}"; do
  convert "$tmp/big.png" -filter Lanczos -resize ${s}x${s} "$tmp/icon$s.png"
  frames+=("$tmp/icon$s.png")
done
convert "${frames[@]}" res/lorvane.ico
