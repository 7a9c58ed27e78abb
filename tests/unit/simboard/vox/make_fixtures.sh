#!/bin/sh
# Makes the VOX decoding fixtures: each NAME.vox beside NAME.s16, the samples sox decodes
# from it (signed 16-bit little-endian). Run from this folder; needs sox and espeak-ng.
# random.vox is kept as committed (fresh random bytes would change every run).
set -eu
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

espeak-ng -w "$tmp/speech.wav" "Thank you for calling"
for rate in 6000 8000 11025; do
    sox -D "$tmp/speech.wav" "$tmp/speech_$rate.wav" trim 0.15 0.6 rate "$rate"
    sox -D "$tmp/speech_$rate.wav" -r "$rate" -c 1 "speech_$rate.vox"
done

# A square wave driven well past full scale: the decoder has to clip at both limits.
sox -D -n -r 8000 -c 1 -b 16 "$tmp/clip.wav" synth 0.3 square 100 gain 6 2>/dev/null
sox -D "$tmp/clip.wav" -r 8000 -c 1 clip.vox

[ -f random.vox ] || head -c 2000 /dev/urandom > random.vox

for v in speech_6000 speech_8000 speech_11025 clip random; do
    rate=8000
    case $v in speech_*) rate=${v#speech_} ;; esac
    sox -t vox -r "$rate" "$v.vox" -t raw -e signed -b 16 -L "$v.s16" 2>/dev/null
done
