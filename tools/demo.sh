#!/bin/bash
# `make run`, early version: Vornline starting up and loading its command file.
#
# What it does, step by step:
#   1. builds zelcfg (native) and Vornline.exe with the stand-in voice board (Windows),
#      or finds them built;
#   2. makes build/demo/ holding Vornline.exe, libdxxmt.dll and libsrlmt.dll (the
#      stand-in board) and a sample command file zel_system.cmd written with zelcfg
#      (answer on the 2nd ring, 8 kHz voices, validated);
#   3. starts Vornline under Wine (tools/wine-run.sh) in that folder; you see the splash
#      pictures and then the main window;
#   4. chooses Channels > Open for you: Vornline probes the board and loads the command
#      file; choosing Open a second time shows "Channels Are Ready To Accept Calls",
#      which proves the load; the board's own events are printed;
#   5. with a display of your own (DISPLAY set), leaves Vornline running for you to try
#      the menu; close its window to end it. Without one (headless, on a virtual
#      screen) it saves a picture of the screen as build/demo/vornline.png and closes
#      Vornline, which says "Closing Command File OK".
# Calls are not answered yet: opening the four telephone channels comes later.
#
# Environment: SIMBOARD_PORT (default 7311) is the board's control port;
# ZEL_DEMO_LINUX_BUILD and ZEL_DEMO_WINDOWS_BUILD choose other build folders.
set -euo pipefail

top=$(cd "$(dirname "$0")/.." && pwd)
linux=${ZEL_DEMO_LINUX_BUILD:-$top/build/linux}
windows=${ZEL_DEMO_WINDOWS_BUILD:-$top/build/windows}
port=${SIMBOARD_PORT:-7311}
demo=$top/build/demo
prefix=$windows/wineprefix
wine_run() { "$top/tools/wine-run.sh" --prefix "$prefix" "$@"; }
step() { printf '\n== %s\n' "$*"; }

step "1. Building zelcfg and Vornline (quick when already built)"
[ -f "$linux/CMakeCache.txt" ] || cmake --preset linux -B "$linux" >/dev/null
cmake --build "$linux" --target zelcfg -j2 >/dev/null
[ -f "$windows/CMakeCache.txt" ] || cmake --preset windows -B "$windows" >/dev/null
cmake --build "$windows" --target Vornline vornline_demo_driver -j2 >/dev/null
zelcfg=$linux/zelcfg/zelcfg
driver=$windows/tests/ui/runtime/vornline_demo_driver.exe
echo "zelcfg:   $zelcfg"
echo "Vornline: $windows/runtime/app/Vornline.exe"

step "2. Making $demo with a sample command file"
rm -rf "$demo"
mkdir -p "$demo"
cp "$windows/runtime/app/Vornline.exe" "$windows/runtime/app/libdxxmt.dll" "$windows/runtime/app/libsrlmt.dll" "$demo/"
"$zelcfg" new "$demo/zel_system.cmd"
"$zelcfg" set "$demo/zel_system.cmd" answer_ring=2 int_transfer_delay=2 ext_transfer_delay=1 \
    vox_type_index=2 validated_flag=1 default_port=100 \
    'open_greeting_vox=C:\\ZEL\\Voice\\open.vox' 'closed_greeting_vox=C:\\ZEL\\Voice\\closed.vox' \
    'route_ext[0]=1001' 'route_port[0]=101' 'route_ext[1]=1002' 'route_port[1]=102'
for f in answer_ring vox_type_index validated_flag open_greeting_vox 'route_ext[0]'; do
    printf '  %-20s %s\n' "$f" "$("$zelcfg" get "$demo/zel_system.cmd" "$f")"
done
"$zelcfg" check "$demo/zel_system.cmd"

step "3. Starting Vornline under Wine (stand-in board on port $port)"
own_display=${DISPLAY:-}
(cd "$demo" && SIMBOARD_PORT=$port exec "$top/tools/wine-run.sh" --prefix "$prefix" ./Vornline.exe) &
vornline=$!
echo "splash pictures for about four seconds, then the main window"

step "4. Choosing Channels > Open"
status=0
wine_run "$driver" open "$port" || status=$?

step "5. Vornline is running"
if [ -n "$own_display" ]; then
    echo "Vornline stays open on your display; close its window to end it."
    wait "$vornline" || true
else
    display=$(cut -d' ' -f1 "$prefix.display")
    if DISPLAY=$display import -window root "$demo/vornline.png" 2>/dev/null; then
        echo "the virtual screen as it is now: $demo/vornline.png"
    fi
    wine_run "$driver" close || status=$?
    wait "$vornline" || true
fi
exit "$status"
