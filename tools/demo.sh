#!/bin/bash
# `make run`: Vornline answering four calls at once on the stand-in voice board.
# `make call` (tools/demo.sh call): the same office, and one line for you to call it on.
#
# What it does, step by step:
#   1. builds what it needs (quick when built): zelcfg and zeldemo natively, Vornline.exe,
#      the stand-in board DLLs and the window driver for Windows;
#   2. speaks the voice prompts with espeak-ng and turns them into 8 kHz .vox files with sox;
#   3. writes the office's configuration with zelcfg (hours that keep the office open now,
#      three routes, one of them with a time window around now that sends its calls to an
#      outside number) and exports it as the command file zel_system.cmd;
#   4. starts Vornline under Wine with the stand-in board (on your display when DISPLAY is
#      set, on a virtual screen otherwise) and chooses Channels > Open through its menu;
#   5. four callers ring at once, one per line: one keys a valid extension, one stays
#      silent, one keys a wrong extension twice, one keys the extension whose time window is
#      active; every line is recorded; a picture of the window is taken mid-call;
#   6. prints a transcript per line and closes Vornline;
#   7. summarises Vornline's call log with `zelcfg calls` into a page.
# The results: build/demo/transcript.txt, build/demo/line<N>-call<M>.wav, build/demo/vornline.png,
# build/demo/preview.txt (zelcfg preview of the office today), build/demo/calls.html.
# Vornline's folder with the voices, the configuration and the logs: build/demo-work/.
#
# Environment (the defaults make `make run`):
#   SIMBOARD_PORT           the board's control port (7311)
#   ZEL_DEMO_SPEED          the board speed (1: real time; the recordings are real time anyway)
#   ZEL_DEMO_OUT            the results folder (build/demo)
#   ZEL_DEMO_WORK           Vornline's folder, voices and logs (build/demo-work)
#   ZEL_DEMO_LINUX_BUILD    native build folder for zelcfg and zeldemo (build/linux); set it
#                           to "" to run the Windows builds of both under Wine instead
#   ZEL_DEMO_WINDOWS_BUILD  Windows build folder (build/windows)
#   ZEL_DEMO_NO_BUILD=1     use the programs as they are built
set -euo pipefail

mode=${1:-run}
case "$mode" in
    run|call|sip) ;;
    *) echo "usage: $0 [run|call|sip]" >&2; exit 2 ;;
esac

top=$(cd "$(dirname "$0")/.." && pwd)
linux=${ZEL_DEMO_LINUX_BUILD-$top/build/linux}
windows=${ZEL_DEMO_WINDOWS_BUILD:-$top/build/windows}
out=${ZEL_DEMO_OUT:-$top/build/demo}
work=${ZEL_DEMO_WORK:-$top/build/demo-work}
if [ "$mode" = sip ]; then
    # The callers come over SIP through zelgate, which is native: the linux build is needed.
    out=${ZEL_DEMO_OUT:-$top/build/sip-demo}
    work=${ZEL_DEMO_WORK:-$top/build/sip-demo-work}
    linux=${linux:-$top/build/linux}
fi
speed=${ZEL_DEMO_SPEED:-1}
port=${SIMBOARD_PORT:-7311}
prefix=$windows/wineprefix
started=$(date +%s)

wine_run() { "$top/tools/wine-run.sh" --prefix "$prefix" "$@"; }
step() { printf '\n== %s\n' "$*"; }
# The name Wine programs give a file of ours: drive Z: is the Linux root.
winpath() { local p=${1//\//\\}; printf 'Z:%s' "$p"; }
# zelcfg reads a backslash in a value as the start of an escape: write it twice.
cfgtext() { printf '%s' "${1//\\/\\\\}"; }

step "1. Building what the demo needs (quick when it is built)"
win_targets="Vornline vornline_demo_driver"
[ -n "$linux" ] || win_targets="$win_targets zelcfg zeldemo"
if [ "${ZEL_DEMO_NO_BUILD:-0}" != 1 ]; then
    echo "(the first time this takes a few minutes)"
    build_log=$(mktemp)
    built() {
        "$@" >>"$build_log" 2>&1 && return 0
        tail -n 40 "$build_log" >&2
        echo "demo: the build failed: $*" >&2
        rm -f "$build_log"
        exit 1
    }
    if [ -n "$linux" ]; then
        [ -f "$linux/CMakeCache.txt" ] || built cmake --preset linux -B "$linux"
        built cmake --build "$linux" --target zelcfg zeldemo $([ "$mode" = sip ] && echo zelgate) -j2
    fi
    [ -f "$windows/CMakeCache.txt" ] || built cmake --preset windows -B "$windows"
    # shellcheck disable=SC2086
    built cmake --build "$windows" --target $win_targets -j2
    rm -f "$build_log"
fi
driver=$windows/tests/ui/runtime/vornline_demo_driver.exe
app=$windows/runtime/app
if [ -n "$linux" ]; then
    zelcfg() { (cd "$work" && "$linux/zelcfg/zelcfg" "$@"); }
    zeldemo() { "$linux/tools/demo/zeldemo" "$@"; }
    own() { printf '%s' "$1"; }
    echo "zelcfg, zeldemo: $linux (native)"
else
    zelcfg() { (cd "$work" && wine_run "$windows/zelcfg/zelcfg.exe" "$@"); }
    # zeldemo's output is read as it comes (and `make call` is interactive), so it talks
    # to us directly rather than through the wrapper's collected output.
    zeldemo() { ZEL_WINE_DIRECT=1 wine_run "$windows/tools/demo/zeldemo.exe" "$@"; }
    own() { winpath "$1"; }
    echo "zelcfg, zeldemo: $windows (under Wine)"
fi
echo "Vornline: $app/Vornline.exe with the stand-in board"

step "2. Speaking the voice prompts (espeak-ng, then sox to 8 kHz VOX)"
# What an earlier run made here goes; nothing else is touched.
rm -rf "$work/voices"
rm -f "$work"/*.exe "$work"/*.dll "$work"/zel_system.* "$work"/*.log "$work"/calls-*.csv
mkdir -p "$work/voices"
if [ "$mode" != call ]; then
    mkdir -p "$out"
    rm -f "$out"/line*-call*.wav "$out"/caller*-heard.wav "$out/transcript.txt" "$out/vornline.png" \
        "$out/preview.txt" "$out/calls.html"
fi
voices=(
    "open_greeting|Welcome to Zelwerk. Please key the four digit extension you want."
    "closed_greeting|Thank you for calling Zelwerk. Our office is closed. Please key an extension, or hold."
    "retry_request|Sorry, there is no such extension. Please key the four digits again."
    "no_input|Please hold. I am connecting you to the operator."
    "goodbye|Thank you for calling Zelwerk. Goodbye."
    "to_sales|Connecting you to sales."
    "to_accounts|Connecting you to accounts."
    "to_support|Support is out of the office. I am forwarding your call to the duty phone."
)
for v in "${voices[@]}"; do
    name=${v%%|*}
    espeak-ng -v en-us -s 165 -w "$work/voices/$name.wav" "${v#*|}"
    sox -D "$work/voices/$name.wav" -r 8000 -c 1 "$work/voices/$name.vox"
    # Two samples a byte at 8000 samples a second.
    awk -v n="$name" -v b="$(stat -c %s "$work/voices/$name.vox")" -v t="${v#*|}" \
        'BEGIN { printf "  %-16s %4.1f s  %s\n", n, b / 4000, t }'
done
# Vornline plays the files by the full names the configuration holds.
vox() { local p; p=$(winpath "$work/voices/$1.vox"); cfgtext "$p"; }

step "3. Writing the configuration with zelcfg"
cp "$app/Vornline.exe" "$app/libdxxmt.dll" "$app/libsrlmt.dll" "$work/"
zelcfg new zel_system.cfg
zelcfg set zel_system.cfg \
    'info_line_1=Zelwerk demo office' answer_ring=2 int_transfer_delay=2 ext_transfer_delay=2 \
    vox_type_index=2 vox_type_name=DRT_8KHZ outside_line_digit=9 default_port=200 \
    "open_greeting_vox=$(vox open_greeting)" "closed_greeting_vox=$(vox closed_greeting)" \
    "wrong_ext_vox=$(vox retry_request)" "no_input_vox=$(vox no_input)" "system_error_vox=$(vox goodbye)" \
    'route_ext[0]=1001' "route_vox[0]=$(vox to_sales)" 'route_port[0]=201' \
    'route_ext[1]=1002' "route_vox[1]=$(vox to_accounts)" 'route_port[1]=202' \
    'route_ext[2]=1003' "route_vox[2]=$(vox to_support)" 'route_port[2]=203' 'route_alt_number[2]=95550123'
# The week and route 2's window, made around the present moment.
mapfile -t plan < <(zeldemo hours 2 | tr -d '\r')
zelcfg set zel_system.cfg "${plan[@]}"
today=$(( ($(date +%u) + 6) % 7 ))
printf '  today (%s) open %s to %s\n' "$(zelcfg get zel_system.cfg "day_name[$today]" | tr -d '\r')" \
    "$(zelcfg get zel_system.cfg "day_open_time[$today]" | tr -d '\r')" \
    "$(zelcfg get zel_system.cfg "day_close_time[$today]" | tr -d '\r')"
printf '  routes: 1001 Sales port 201; 1002 Accounts port 202; 1003 Support port 203, and from %s to %s\n' \
    "$(zelcfg get zel_system.cfg 'route_from_time[2]' | tr -d '\r')" "$(zelcfg get zel_system.cfg 'route_to_time[2]' | tr -d '\r')"
printf '          its outside number 95550123; nothing keyed or wrong twice: default port 200\n'
echo "  the validation report, and the export of the command file:"
zelcfg export zel_system.cfg zel_system.cmd | tr -d '\r' | sed '/^$/d; s/^/    /'
echo "  what plays when today, and where each extension goes (zelcfg preview):"
preview=$(zelcfg preview zel_system.cmd --days 1 | tr -d '\r')
printf '%s\n' "$preview" | sed 's/^/    /'
[ "$mode" != call ] && printf '%s\n' "$preview" >"$out/preview.txt"

status=0
vornline=""
# The driver touches only the Vornline started from this file.
vexe=$(winpath "$work/Vornline.exe")
# Closes Vornline through its close box and waits for it to end; one that is still there
# after 20 s is stopped. False when it did not close by itself.
close_vornline() {
    [ -n "$vornline" ] || return 0
    local closed=0
    wine_run "$driver" close "$vexe" | sed -u 's/\r$//' || closed=1
    for _ in $(seq 200); do kill -0 "$vornline" 2>/dev/null || break; sleep 0.1; done
    if kill -0 "$vornline" 2>/dev/null; then
        echo "demo: Vornline did not end; stopping it"
        kill "$vornline" 2>/dev/null || true
        closed=1
    fi
    wait "$vornline" 2>/dev/null || true
    vornline=""
    return "$closed"
}
trap 'close_vornline || true' EXIT

step "4. Starting Vornline under Wine and opening its channels"
# Another stand-in board on the port (an earlier Vornline still running) would take our
# callers; /proc/net/tcp lists the listeners (state 0A) with their ports in hex.
if grep -qE "^ *[0-9]+: [0-9A-F]+:$(printf '%04X' "$port") [0-9A-F]+:0000 0A" /proc/net/tcp /proc/net/tcp6 2>/dev/null; then
    echo "demo: something already listens on port $port (a Vornline left running?); close it or set SIMBOARD_PORT" >&2
    exit 1
fi
(cd "$work" && SIMBOARD_PORT=$port SIMBOARD_SPEED=$speed exec "$top/tools/wine-run.sh" --prefix "$prefix" \
    ./Vornline.exe) >"$work/vornline.log" 2>&1 &
vornline=$!
echo "the splash pictures show for about four seconds, then the main window"
wine_run "$driver" open "$port" "$vexe" | sed -u 's/\r$//'
# The picture: the driver raises the window and grabs it from the screen once it has
# settled; ImageMagick makes the PNG.
shot() {
    local bmp=$work/vornline.bmp
    if wine_run "$driver" shot "$vexe" "$(winpath "$bmp")" 2>&1 | sed -u 's/\r$//' >>"$work/screenshot.log" &&
        convert "$bmp" "$out/vornline.png" 2>>"$work/screenshot.log"; then
        echo "   (picture taken: $out/vornline.png)"
    else
        echo "   (no picture: see $work/screenshot.log)"
    fi
}

if [ "$mode" = call ]; then
    step "5. Your line"
    player=""
    if command -v play >/dev/null && play -q -n trim 0 0.01 >/dev/null 2>&1; then player=play; fi
    # Not through wine_run's pipe: the keyboard must reach zeldemo.
    if [ -n "$linux" ]; then
        zeldemo call --port "$port" --line 1 ${player:+--player "$player"} || status=$?
    else
        zeldemo call --port "$port" --line 1 || status=$?
    fi
    step "6. Closing Vornline"
    close_vornline || status=1
    exit "$status"
fi

if [ "$mode" = sip ]; then
    step "5. Four softphones call over SIP (baresip through zelgate), one per line"
    [ "$speed" = 1 ] || { echo "demo: SIP callers need board speed 1" >&2; exit 1; }
    gate=""
    while IFS= read -r line; do
        case "$line" in "zelgate "[0-9]*) gate=${line#zelgate } ;; *) printf '%s\n' "$line" ;; esac
    done < <("$top/tools/sip_callers.sh" "$port" "$linux/gateway/zelgate" "$out" "$work")
    [ -n "$gate" ] || status=1
    sip_port=${ZEL_SIP_PORT:-5070}
    step "6. Call the attendant yourself"
    echo "  Vornline and zelgate are still running. From a softphone on this machine, call"
    echo "      sip:attendant@127.0.0.1:$sip_port"
    echo "  (G.711, RFC 2833 keys; 1001, 1002 or 1003 transfer you). To take calls from"
    echo "  other machines, run zelgate yourself with --listen <this host>:5060 --allow <their network>;"
    echo "  docs/sip.md says how."
    if [ -t 0 ] && [ -n "$gate" ]; then
        read -r -p "  Press Enter to close the attendant. " _ || true
    fi
    [ -n "$gate" ] && kill "$gate" 2>/dev/null
    step "7. Closing Vornline"
    close_vornline || status=1
    step "Where everything is"
    echo "  transcript (zelgate's log): $out/transcript.txt"
    for f in "$out"/caller*-heard.wav; do [ -e "$f" ] && echo "  what a caller heard: $f"; done
    echo "  took $(( $(date +%s) - started )) s; exit status $status"
    exit "$status"
fi

step "5. Four callers at once, one per line (board speed $speed)"
set +e
# Read line by line as zeldemo writes them (no buffering filter in between), so that the
# picture is taken at the moment zeldemo says.
zeldemo callers --port "$port" --speed "$speed" --out "$(own "$out")" --log "$(own "$work/board-events.log")" |
    while IFS= read -r line; do
        line=${line%$'\r'}
        printf '%s\n' "$line"
        case "$line" in "-- mid-call"*) shot ;; esac
    done
status=${PIPESTATUS[0]}
set -e

step "6. Closing Vornline"
close_vornline || status=1

step "7. The call log"
# Vornline writes its log beside Vornline.exe, which is in $work.
logs=()
for f in "$work"/calls-*.csv; do [ -e "$f" ] && logs+=("$(own "$f")"); done
if [ "${#logs[@]}" -gt 0 ] && zelcfg calls "${logs[@]}" --html "$(own "$out/calls.html")" | tr -d '\r' |
    sed 's/^/  /'; then
    :
else
    echo "demo: no call log to summarise in $work" >&2
    status=1
fi

step "Where everything is"
echo "  transcript:  $out/transcript.txt"
for f in "$work"/calls-*.csv; do [ -e "$f" ] && echo "  call log:    $f"; done
[ -e "$out/calls.html" ] && echo "  call summary: $out/calls.html"
[ -e "$out/preview.txt" ] && echo "  preview:     $out/preview.txt"
for f in "$out"/line*-call*.wav; do [ -e "$f" ] && echo "  recording:   $f"; done
if [ -e "$out/vornline.png" ]; then
    echo "  screenshot:  $out/vornline.png"
else
    echo "  screenshot:  none was taken (see $work/screenshot.log)"
    status=1
fi
echo "  Vornline's folder, voices and logs: $work"
echo "  the board's events: $work/board-events.log"
echo "  took $(( $(date +%s) - started )) s; exit status $status"
exit "$status"
