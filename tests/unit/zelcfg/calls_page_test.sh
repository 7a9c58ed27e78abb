#!/bin/bash
# zelcfg calls --html seen in a real browser: headless Chromium takes a screenshot of the
# page, and the picture must hold the chart's bars where the log puts them: three calls at
# 09:xx and two at 14:xx give two bars, 5 hours apart, the first the chart's full 200
# pixels high and the second two thirds of that.
# Usage: calls_page_test.sh WORKDIR ZELCFG
set -euo pipefail
work=$1
zelcfg=$2
rm -rf "$work"
mkdir -p "$work"
fail() { echo "FAIL: $*" >&2; exit 1; }

browser=$(command -v chromium || command -v chromium-browser || true)
[ -n "$browser" ] || fail "no chromium (tools/bootstrap.sh installs it)"
command -v convert >/dev/null || fail "no ImageMagick convert"

printf '%s\r\n' \
    'start,line,answer_seconds,greeting_field,greeting,reason,entries,route,extension,outcome,outcome_at,dial,length_seconds,failed,lost_before' \
    '2027-01-01 09:15:30,1,6.0,open_greeting_vox,C:\v\open.vox,weekly: FRI,1001,0,1001,port,,"&,,201",20.5,,0' \
    '2027-01-01 09:20:30,2,6.0,open_greeting_vox,C:\v\open.vox,weekly: FRI,1001,0,1001,port,,"&,,201",20.5,,0' \
    '2027-01-01 09:45:00,3,6.0,open_greeting_vox,C:\v\open.vox,weekly: FRI,,,,default-silence,,"&,,200",20.5,,0' \
    '2027-01-01 14:05:00,4,6.0,open_greeting_vox,C:\v\open.vox,weekly: FRI,1003,2,1003,alternate,,"&,,9,,5550123",20.5,,0' \
    '2027-01-01 14:06:00,1,6.0,open_greeting_vox,C:\v\open.vox,weekly: FRI,,,,hung-up,greeting,,3.0,,0' \
    >"$work/calls-20270101.csv"
"$zelcfg" calls "$work/calls-20270101.csv" --html "$work/calls.html" >"$work/summary.txt"

# A fresh profile each time, and nothing that reaches out to the network.
timeout 120 "$browser" --headless --no-sandbox --disable-gpu --disable-quic --no-first-run \
    --disable-background-networking --disable-component-update --disable-sync \
    --user-data-dir="$work/profile" --screenshot="$work/calls.png" --window-size=1024,768 \
    "file://$work/calls.html" >"$work/chromium.log" 2>&1 || { cat "$work/chromium.log" >&2; fail "chromium failed"; }
[ -s "$work/calls.png" ] || fail "no screenshot"

size=$(identify -format '%w %h' "$work/calls.png")
[ "$size" = "1024 768" ] || fail "screenshot is $size, not 1024 768"
colours=$(identify -format '%k' "$work/calls.png")
[ "$colours" -gt 20 ] || fail "a blank page: $colours colours"

# Only the bars have the bar colour: a mask with them white and everything else black.
convert "$work/calls.png" -fill black +opaque '#d9480f' -fill white -opaque '#d9480f' "$work/bars.png"
read -r w h x y <<<"$(convert "$work/bars.png" -trim -format '%w %h %X %Y' info:)"
x=${x#+}; y=${y#+}
echo "bars: ${w}x${h} at +${x}+${y}"
[ "$w" = 198 ] || fail "the bars span $w pixels, not 5 x 34 + 28 = 198 (hours 9 and 14)"
[ "$h" = 200 ] || fail "the tallest bar is $h pixels high, not 200"
count() { convert "$work/bars.png" -crop "28x200+$1+$y" +repage -format '%[fx:int(mean*w*h+0.5)]' info:; }
first=$(count "$x")
second=$(count "$((x + 170))")
echo "bar pixels: 09:00 $first, 14:00 $second"
[ "$first" = 5600 ] || fail "the 09:00 bar has $first pixels, not 28 x 200"
[ "$second" = 3724 ] || fail "the 14:00 bar has $second pixels, not 28 x 133"
echo "PASS: $work/calls.png"
