#!/usr/bin/env bash
# Makes the bitmap files the native tests decode: one small picture written by ImageMagick (an
# encoder that is not ours) in the depths and header forms a skin may hold, each with the pixels
# ImageMagick itself reads back from it as a binary PPM beside it. The files are kept in the
# repository; run this only to change them.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT

# 37 x 23 (odd width: every row is padded): the face colour, a magenta band, two blocks, and a
# row of 37 different colours so that the 8-bit form needs more than 16 palette entries.
args=(-size 37x23 "xc:rgb(145,146,159)"
      -fill "rgb(255,0,255)" -draw "rectangle 0,0 5,22"
      -fill "rgb(20,40,200)" -draw "rectangle 6,3 20,10"
      -fill "rgb(250,250,10)" -draw "rectangle 21,12 36,21"
      -fill "rgb(255,255,255)" -draw "line 0,22 36,22")
convert "${args[@]}" "$tmp/few.png"
for i in $(seq 0 36); do
  args+=(-fill "rgb($((i * 7)),$((255 - i * 5)),$((i * 3 + 17)))" -draw "point $i,1")
done
convert "${args[@]}" "$tmp/many.png"

convert "$tmp/few.png" -monochrome BMP3:info-1bit.bmp
convert "$tmp/few.png" -type palette BMP3:info-4bit.bmp
convert "$tmp/many.png" -type palette -compress none BMP3:info-8bit.bmp
convert "$tmp/many.png" -type palette -compress rle BMP3:info-8bit-rle.bmp
convert "$tmp/many.png" -type truecolor BMP3:info-24bit.bmp
convert "$tmp/many.png" -alpha set -type truecolormatte BMP:v5-32bit-bitfields.bmp
convert "$tmp/few.png" -type palette BMP2:core-4bit.bmp
convert "$tmp/many.png" -type palette BMP2:core-8bit.bmp
convert "$tmp/many.png" -type truecolor BMP2:core-24bit.bmp

for f in *.bmp; do convert "$f" -alpha off -depth 8 "${f%.bmp}.ppm"; done
