#!/usr/bin/env bash
# Draws the program icon and the panel picture with ImageMagick 6.
# The build does not run this: the generated files are committed, so run it
# by hand after changing the drawing and commit src/resources/vexo.ico and
# src/resources/picture.png together with the change.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
out="$root/src/resources"
font=/usr/share/fonts/truetype/nanum/NanumSquareRoundB.ttf

command -v convert >/dev/null || { echo "make-art: ImageMagick 'convert' is missing (run scripts/setup.sh)" >&2; exit 1; }
[[ -f "$font" ]] || { echo "make-art: font $font is missing (package fonts-nanum)" >&2; exit 1; }

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# The pointer outline in cursor units (tip at 0,0), scaled and moved by awk.
pointer() { # scale dx dy
  echo "0,0 0,17 4,13 7,20 9,19 6,12 12,12" |
    awk -v s="$1" -v dx="$2" -v dy="$3" '{
      for (i = 1; i <= NF; i++) { split($i, p, ","); printf "%s%.1f,%.1f", (i > 1 ? " " : ""), p[1] * s + dx, p[2] * s + dy }
    }'
}

# --- Icon: drawn once at 384 px, then reduced, so every size is antialiased.
big=384
convert -size ${big}x${big} gradient:'#4da3ff'-'#1646b0' "$work/grad.png"
convert -size ${big}x${big} xc:none -fill white -draw "roundrectangle 12,12 371,371 76,76" "$work/mask.png"
convert "$work/grad.png" "$work/mask.png" -alpha off -compose CopyOpacity -composite "$work/tile.png"
convert "$work/tile.png" \
  -fill none -stroke 'rgba(255,255,255,0.55)' -strokewidth 20 -draw "circle 168,160 168,42" \
  -stroke 'rgba(255,255,255,0.9)' -strokewidth 22 -draw "circle 168,160 168,98" \
  -fill white -stroke '#0d2a6e' -strokewidth 12 \
  -draw "stroke-linejoin round polygon $(pointer 9 168 160)" \
  "$work/icon-big.png"

# One image per size Windows asks for between 100 % and 200 % (small icons
# 16-32, large 32-64) and for the shell's largest view, so none is stretched.
icons=()
for size in 16 20 24 32 40 48 64 256; do
  convert "$work/icon-big.png" -filter Lanczos -resize ${size}x${size} \
    -depth 8 -define png:color-type=6 "$work/icon-$size.png"
  icons+=("$work/icon-$size.png")
done
# ImageMagick stores the 256 px image PNG-compressed and the smaller ones as
# 32-bit BMP entries with alpha, which every Windows version reads.
convert "${icons[@]}" "$out/vexo.ico"

# --- Panel picture: a 482 x 178 master, twice the size it has at 100 %, so
# that the program scales it down to the panel's size at every scale up to
# 200 %. PNG keeps it small; the program decodes it with WIC.
convert -size 178x482 gradient:'#0f2f7a'-'#2b8fd6' -rotate 90 \
  -fill none -stroke 'rgba(255,255,255,0.18)' -strokewidth 6 -draw "circle 100,80 100,4" \
  -stroke 'rgba(255,255,255,0.35)' -strokewidth 6 -draw "circle 100,80 100,28" \
  -stroke 'rgba(255,255,255,0.7)' -strokewidth 6 -draw "circle 100,80 100,54" \
  -fill white -stroke '#0d2a6e' -strokewidth 4 \
  -draw "stroke-linejoin round polygon $(pointer 3.8 100 80)" \
  -stroke none -fill 'rgba(255,255,255,0.95)' -font "$font" -pointsize 80 \
  -annotate +224+116 'vexo' \
  -fill 'rgba(255,255,255,0.6)' -pointsize 22 -annotate +228+148 'auto click' \
  "$work/picture.png"
convert "$work/picture.png" -alpha off -strip -depth 8 -define png:color-type=2 -define png:compression-level=9 \
  "$out/picture.png"

echo "make-art: wrote $out/vexo.ico and $out/picture.png"
