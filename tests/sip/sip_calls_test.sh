#!/bin/bash
# SIP callers against the attendant: SIPp (scenarios in this folder, with the RFC 2833 key
# captures that sip-tester ships) calls zelgate, which drives Vornline.exe under Wine
# through the stand-in board at speed 1. The office is the tests' "open every day" record
# (tests/support/test_records.h) written with zelcfg, plus route 1001 -> port 201.
#   sip_calls_test.sh <linux build> <windows build>
# Exit 0 when every case passed, 77 (skipped) when the Windows build is missing.
set -uo pipefail

top=$(cd "$(dirname "$0")/../.." && pwd)
here=$top/tests/sip
linux=$(cd "$1" && pwd)
windows=$(cd "$2" && pwd)
app=$windows/runtime/app
driver=$windows/tests/ui/runtime/vornline_demo_driver.exe
zelgate=$linux/gateway/zelgate
zelcfg_bin=$linux/zelcfg/zelcfg
for f in "$app/Vornline.exe" "$driver"; do
    [ -f "$f" ] || { echo "SKIP: $f is not built (cmake --build --preset windows)"; exit 77; }
done
for f in "$zelgate" "$zelcfg_bin"; do
    [ -x "$f" ] || { echo "FAIL: $f is not built"; exit 1; }
done
command -v sipp >/dev/null || { echo "FAIL: sipp missing (tools/bootstrap.sh installs sip-tester)"; exit 1; }

# Ports of their own, so this test runs beside the others.
board_port=${SIP_TEST_BOARD_PORT:-7391}
sip_port=${SIP_TEST_SIP_PORT:-5391}
sipp_port=$((sip_port + 1))
work=$(mktemp -d "${TMPDIR:-/tmp}/zel-sip-test.XXXXXX")
prefix=$windows/wineprefix
wine_run() { "$top/tools/wine-run.sh" --prefix "$prefix" "$@"; }
winpath() { local p=${1//\//\\}; printf 'Z:%s' "$p"; }
vox() { local p; p=$(winpath "$work/$1.vox"); printf '%s' "${p//\\/\\\\}"; }

failures=0
pass() { echo "PASS: $*"; }
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
# Waits up to $2 seconds for pattern $1 in file $3.
wait_for() {
    local deadline=$((SECONDS + $2))
    while [ $SECONDS -lt $deadline ]; do
        grep -qE "$1" "$3" 2>/dev/null && return 0
        sleep 0.2
    done
    return 1
}

vornline="" gate=""
cleanup() {
    [ -n "$gate" ] && kill "$gate" 2>/dev/null && wait "$gate" 2>/dev/null
    if [ -n "$vornline" ]; then
        wine_run "$driver" close "$(winpath "$work/Vornline.exe")" >/dev/null 2>&1
        for _ in $(seq 100); do kill -0 "$vornline" 2>/dev/null || break; sleep 0.1; done
        kill "$vornline" 2>/dev/null
        wait "$vornline" 2>/dev/null
    fi
    # The gateway's log of the last run stays for a look at what was said.
    cp "$work/zelgate.log" "$linux/tests/sip-zelgate.log" 2>/dev/null
    if [ "$failures" -ne 0 ]; then
        echo "--- zelgate log"; cat "$work/zelgate.log" 2>/dev/null | tail -n 80
        echo "--- (work folder kept: $work)"
    else
        rm -rf "$work"
    fi
}
trap cleanup EXIT

# Voices: tones, lengths as the call flow needs them (the greeting outlasts the keys).
for v in greeting:3 retry:1 no_input:1 goodbye:1 sales:1; do
    sox -n -r 8000 -c 1 "$work/${v%%:*}.wav" synth "${v#*:}" sine 440 vol 0.5 &&
        sox -D "$work/${v%%:*}.wav" -r 8000 -c 1 "$work/${v%%:*}.vox" || { fail "voices"; exit 1; }
done
cp "$app/Vornline.exe" "$app/libdxxmt.dll" "$app/libsrlmt.dll" "$work/"
zelcfg() { (cd "$work" && "$zelcfg_bin" "$@"); }
days=()
for d in 0 1 2 3 4 5 6; do
    days+=("day_closed[$d]=00" "day_open_time[$d]=12:00:00 AM" "day_close_time[$d]=11:59:00 PM")
done
zelcfg new zel_system.cfg >/dev/null &&
    zelcfg set zel_system.cfg validated_flag=1 vox_type_index=2 vox_type_name=DRT_8KHZ answer_ring=1 \
        int_transfer_delay=2 ext_transfer_delay=3 default_port=100 \
        day_name[0]=MON day_name[1]=TUE day_name[2]=WEN day_name[3]=THU day_name[4]=FRI day_name[5]=SAT \
        day_name[6]=SUN "${days[@]}" \
        "open_greeting_vox=$(vox greeting)" "closed_greeting_vox=$(vox greeting)" \
        "wrong_ext_vox=$(vox retry)" "no_input_vox=$(vox no_input)" "system_error_vox=$(vox goodbye)" \
        'route_ext[0]=1001' "route_vox[0]=$(vox sales)" 'route_port[0]=201' >/dev/null &&
    zelcfg export zel_system.cfg zel_system.cmd >/dev/null ||
    { fail "zelcfg could not write the office"; exit 1; }

(cd "$work" && SIMBOARD_PORT=$board_port SIMBOARD_SPEED=1 exec "$top/tools/wine-run.sh" --prefix "$prefix" \
    ./Vornline.exe) >"$work/vornline.log" 2>&1 &
vornline=$!
if ! wine_run "$driver" open "$board_port" "$(winpath "$work/Vornline.exe")" >"$work/open.log" 2>&1; then
    fail "Vornline did not open its channels"; cat "$work/open.log"; exit 1
fi

"$zelgate" --listen "127.0.0.1:$sip_port" --board "$board_port" >"$work/zelgate.log" 2>&1 &
gate=$!
wait_for "board: connected" 10 "$work/zelgate.log" || { fail "zelgate did not reach the board"; exit 1; }

sipp_run() {  # <name> <scenario> [sipp options...]
    local name=$1 scenario=$2
    shift 2
    timeout 60 sipp 127.0.0.1:"$sip_port" -sf "$here/$scenario" -i 127.0.0.1 -p "$sipp_port" \
        -mp $((sipp_port + 100)) -nostdin -timeout 40s -timeout_error -max_recv_loops 1000 \
        -trace_err -error_file "$work/$name.errors" "$@" >"$work/$name.out" 2>&1
}

# 1. A caller who keys 1001 is transferred to port 201 by a REFER.
if sipp_run keyed keyed_caller.xml -m 1 &&
    grep -q "transfer to sip:201@127.0.0.1" "$work/zelgate.log" &&
    grep -q "REFER accepted: 202" "$work/zelgate.log"; then
    pass "a caller who keys 1001 gets a REFER to sip:201@..."
else
    fail "keyed caller"; cat "$work/keyed.errors" 2>/dev/null | tail -n 30
fi

# 2. An offer of G.729 alone is refused with 488.
if sipp_run g729 g729_offer.xml -m 1 && grep -q "sip > .* SIP/2.0 488" "$work/zelgate.log"; then
    pass "an offer with only G.729 gets 488"
else
    fail "G.729 offer"; cat "$work/g729.errors" 2>/dev/null | tail -n 30
fi

# 3. Five callers at once: four lines answer, the fifth caller hears busy.
if sipp_run five five_at_once.xml -m 5 -l 5 -r 20; then
    busy=$(grep -c "sip > .* SIP/2.0 486" "$work/zelgate.log")
    answered=$(grep -c "sip > .* SIP/2.0 200 OK" "$work/zelgate.log")
    if [ "$busy" -eq 1 ]; then
        pass "five calls at once: one 486 ($answered 200 OK sent in all)"
    else
        fail "five calls at once: $busy 486 answers instead of 1"
    fi
else
    fail "five calls at once"; cat "$work/five.errors" 2>/dev/null | tail -n 30
fi

[ "$failures" -eq 0 ]
