#!/usr/bin/env bash
# Draws QLT's icon (window and tray) at 16, 32 and 48 pixels and writes QLT.ico.
# Needs ImageMagick. The .ico is kept in the repository; run this after changing the drawing.
set -euo pipefail
cd "$(dirname "$0")"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
for s in 16 32 48; do
  # A calm slate-blue tile with a lighter rim, and a white "eye-lid" stroke: the screen cleared.
  r=$((s / 6)); m=$((s - 1)); w=$(( s >= 32 ? s / 10 : 2 ))
  convert -size ${s}x${s} xc:none \
    -fill '#5b6fa8' -stroke '#3b4a78' -strokewidth 1 -draw "roundrectangle 0,0 $m,$m $r,$r" \
    -fill none -stroke '#e8ecf7' -strokewidth $w \
    -draw "arc $((s/5)),$((s*3/10)) $((s*4/5)),$((s*9/10)) 200,340" \
    -fill '#e8ecf7' -stroke none -draw "circle $((s/2)),$((s*11/20)) $((s/2)),$((s*11/20 + s/8))" \
    "$tmp/icon$s.png"
done
convert "$tmp/icon16.png" "$tmp/icon32.png" "$tmp/icon48.png" QLT.ico
