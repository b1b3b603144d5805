#!/usr/bin/env bash
# Draws the program icon and the panel picture with ImageMagick 6.
# The build does not run this: the generated files are committed, so run it
# by hand after changing the drawing and commit src/resources/vexo.ico and
# src/resources/picture.bmp together with the change.
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

for size in 48 32 16; do
  convert "$work/icon-big.png" -filter Lanczos -resize ${size}x${size} \
    -define png:color-type=6 "$work/icon-$size.png"
done
# Small sizes stored as 32-bit BMP entries (not PNG) so every resource
# compiler and every Windows version reads them.
convert "$work/icon-16.png" "$work/icon-32.png" "$work/icon-48.png" \
  "$out/vexo.ico"

# --- Panel picture: 241 x 89, 24-bit uncompressed BMP.
convert -size 89x241 gradient:'#0f2f7a'-'#2b8fd6' -rotate 90 \
  -fill none -stroke 'rgba(255,255,255,0.18)' -strokewidth 3 -draw "circle 50,40 50,2" \
  -stroke 'rgba(255,255,255,0.35)' -strokewidth 3 -draw "circle 50,40 50,14" \
  -stroke 'rgba(255,255,255,0.7)' -strokewidth 3 -draw "circle 50,40 50,27" \
  -fill white -stroke '#0d2a6e' -strokewidth 2 \
  -draw "stroke-linejoin round polygon $(pointer 1.9 50 40)" \
  -stroke none -fill 'rgba(255,255,255,0.95)' -font "$font" -pointsize 40 \
  -annotate +112+58 'vexo' \
  -fill 'rgba(255,255,255,0.6)' -pointsize 11 -annotate +114+74 'auto click' \
  "$work/picture.png"
convert "$work/picture.png" -alpha off -type TrueColor -compress None BMP3:"$out/picture.bmp"

echo "make-art: wrote $out/vexo.ico and $out/picture.bmp"
