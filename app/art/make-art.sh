#!/usr/bin/env bash
# Draws the program's pictures with ImageMagick and writes them beside this script:
#   vantrel.ico      the window icon (16x16, with 32x32 and 48x48 for the system's other uses)
#   tray.ico         the notification-area icon (32x32, with 16x16 for small trays)
#   logo.ico         the logo of the main window (76x32)
#   about.ico        the about window's picture (48x48)
# and the browser extension's icons, extension/icons/icon-SIZE.png (16, 32, 48 and 128).
# The mark is a blue rounded square with a white arrow dropping into a tray; the logo is the
# word "Vantrel" with an orange underline. Change the colours or shapes below and run
#   app/art/make-art.sh
# again; the resource script picks the files up on the next build. Needs ImageMagick and the
# DejaVu fonts (Debian: imagemagick fonts-dejavu-core).
set -euo pipefail
cd "$(dirname "$0")"

blue_top='#3d8bff'
blue_bottom='#1450b4'
accent='#ff8a1f'
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# The mark, drawn once at 256x256 and scaled down for every size.
convert -size 256x256 xc:black -fill white -draw 'roundrectangle 8,8 247,247 56,56' \
  "$work/mask.png"
convert -size 256x256 gradient:"$blue_top"-"$blue_bottom" "$work/mask.png" \
  -alpha off -compose CopyOpacity -composite -compose Over \
  -fill white -stroke none \
  -draw 'rectangle 108,40 148,132' \
  -draw 'polygon 68,118 188,118 128,182' \
  -fill "$accent" \
  -draw 'roundrectangle 52,196 204,218 11,11' \
  "$work/mark.png"

for size in 16 32 48; do
  convert "$work/mark.png" -filter Lanczos -resize ${size}x${size} "$work/mark-$size.png"
done

convert "$work/mark-16.png" "$work/mark-32.png" "$work/mark-48.png" vantrel.ico
convert "$work/mark-32.png" "$work/mark-16.png" tray.ico
convert "$work/mark-48.png" about.ico

mkdir -p ../../extension/icons
for size in 16 32 48 128; do
  convert "$work/mark.png" -filter Lanczos -resize ${size}x${size} \
    -define png:exclude-chunks=date,time "../../extension/icons/icon-$size.png"
done

# The logo: the word at four times the size, scaled down for smooth edges.
convert -size 304x128 xc:none \
  -font DejaVu-Sans-Condensed-Bold -pointsize 84 -fill "$blue_bottom" \
  -gravity center -annotate +0-10 'Vantrel' \
  -fill "$accent" -gravity northwest -draw 'roundrectangle 24,108 280,120 6,6' \
  -filter Lanczos -resize 76x32\! "$work/logo.png"
convert "$work/logo.png" logo.ico
