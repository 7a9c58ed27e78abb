#!/bin/bash
# Makes Vornline's pictures with ImageMagick and the DejaVu fonts (Debian packages
# imagemagick and fonts-dejavu-core) into runtime/app/res/:
#   splash2.bmp, splash3.bmp   450 x 597   the start-up splash pictures
#   zel.bmp                    483 x 641   the main window's background
#   phone.bmp, answered.bmp    75 x 75     a line waiting, a call answered
#   n00.bmp .. n16.bmp         75 x 75     the transfer numbers 0 (default) to 16
#   zel_vorn.ico               32 and 16   the program icon
# The results are committed, so the build never runs this; run it again only to change
# a picture:  tools/pictures/make_runtime_pictures.sh
# Every picture is an uncompressed Windows 3 bitmap without colour-space data, which
# LoadBitmap reads everywhere; 75 x 75 ones are 24-bit, large ones 8-bit with a palette.
set -euo pipefail

top=$(cd "$(dirname "$0")/../.." && pwd)
out=$top/runtime/app/res
mkdir -p "$out"

font=DejaVu-Sans
bold=DejaVu-Sans-Bold
phone=$'\u260E'  # BLACK TELEPHONE

# Same input, same bytes: no dates or names inside the files.
small() { convert "$@" -strip -type TrueColor -define bmp:format=bmp3 "BMP3:$last"; }
large() { convert "$@" -strip -colors 200 -type Palette -define bmp:format=bmp3 "BMP3:$last"; }

# ---- 75 x 75 status pictures -------------------------------------------------------

last=$out/phone.bmp
small -size 75x75 xc:'#f4f7ff' -fill none -stroke '#1a2a6c' -strokewidth 2 -draw 'rectangle 1,1 73,73' \
    -stroke none -fill '#1a2a6c' -font "$font" -pointsize 50 -gravity north -annotate +0+2 "$phone" \
    -font "$bold" -pointsize 11 -gravity south -annotate +0+4 'WAITING'

last=$out/answered.bmp
small -size 75x75 xc:'#1f8a3a' -fill none -stroke white -strokewidth 2 -draw 'rectangle 1,1 73,73' \
    -stroke none -fill white -font "$font" -pointsize 38 -gravity north -annotate +0+4 "$phone" \
    -font "$bold" -pointsize 11 -gravity south -annotate +0+8 'ANSWERED'

for n in $(seq 0 16); do
    last=$(printf '%s/n%02d.bmp' "$out" "$n")
    if [ "$n" -eq 0 ]; then caption='DEFAULT'; else caption='TRANSFER'; fi
    small -size 75x75 xc:'#ffd23f' -fill none -stroke '#7a4a00' -strokewidth 2 -draw 'rectangle 1,1 73,73' \
        -stroke none -fill '#7a4a00' -font "$bold" -pointsize 10 -gravity north -annotate +0+5 "$caption" \
        -fill black -font "$bold" -pointsize 40 -gravity center -annotate +0+7 "$n"
done

# ---- splash pictures and background -------------------------------------------------

last=$out/splash2.bmp
large -size 450x597 gradient:'#0b1d51-#2f6fd6' \
    -fill white -font "$font" -pointsize 150 -gravity north -annotate +0+70 "$phone" \
    -font "$bold" -pointsize 64 -gravity north -annotate +0+290 'VORN' \
    -font "$font" -pointsize 24 -annotate +0+375 'Computer Telephony System' \
    -pointsize 18 -fill '#cfe0ff' -annotate +0+420 'Automated attendant for four lines' \
    -pointsize 16 -gravity south -annotate +0+40 'Starting ...'

last=$out/splash3.bmp
large -size 450x597 gradient:'#133d1f-#3aa35a' \
    -fill white -font "$bold" -pointsize 58 -gravity north -annotate +0+110 'MIRT System' \
    -font "$font" -pointsize 20 -annotate +0+200 'For Dialogic Telephony Boards' \
    -font "$font" -pointsize 120 -annotate +0+260 "$phone" \
    -pointsize 16 -fill '#d8f5df' -gravity south -annotate +0+40 'Choose Channels > Open to answer calls'

last=$out/zel.bmp
args=(-size 483x641 gradient:'#eef3fb-#b9c9e6'
      -fill '#dde6f5' -stroke '#8da2c8' -draw 'rectangle 70,0 410,110'
      -stroke none -fill '#1a2a6c' -font "$bold" -pointsize 12)
for line in 1 2 3 4; do
    args+=(-gravity northwest -annotate "+$((80 * line + 18))+90" "LINE $line")
done
args+=(-font "$bold" -pointsize 40 -gravity center -annotate +0+10 'ZEL Phone System'
       -font "$font" -pointsize 18 -annotate +0+55 'VORN Computer Telephony'
       -fill '#8da2c8' -pointsize 160 -annotate +0+210 "$phone")
large "${args[@]}"

# ---- icon ---------------------------------------------------------------------------

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
for s in 32 16; do
    convert -size "${s}x${s}" xc:'#1a2a6c' -fill white -font "$font" -pointsize $((s * 3 / 4)) \
        -gravity center -annotate +0+0 "$phone" -strip -type TrueColor "$tmp/icon$s.png"
done
convert "$tmp/icon32.png" "$tmp/icon16.png" -strip "$out/zel_vorn.ico"

echo "pictures written to $out"
