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
. "$top/tools/baresip.sh"  # wait_for, and the softphones of the last case

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
    ls -l "$work/caller/heard" >"$linux/tests/sip-heard.txt" 2>/dev/null
    if [ "$failures" -ne 0 ]; then
        echo "--- zelgate log"; cat "$work/zelgate.log" 2>/dev/null | tail -n 80
        echo "--- (work folder kept: $work)"
    else
        rm -rf "$work"
    fi
}
trap cleanup EXIT

# Voices: tones, lengths as the call flow needs them (the greeting outlasts the keys). The
# greeting is a sweep, so that where it lies in a recording is found without doubt.
for v in greeting:3:300-2500 retry:1:440 no_input:1:440 goodbye:1:440 sales:1:660; do
    IFS=: read -r name seconds hz <<<"$v"
    sox -n -r 8000 -c 1 "$work/$name.wav" synth "$seconds" sine "$hz" vol 0.5 &&
        sox -D "$work/$name.wav" -r 8000 -c 1 "$work/$name.vox" || { fail "voices"; exit 1; }
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
wait_for "board: connected" 10 "$work/zelgate.log" ||
    { fail "zelgate did not reach the board"; ss -tanp 2>/dev/null | grep ":$board_port"; exit 1; }

sipp_run() {  # <name> <scenario> <local port> [sipp options...]
    local name=$1 scenario=$2 port=$3
    shift 3
    timeout 60 sipp 127.0.0.1:"$sip_port" -sf "$here/$scenario" -i 127.0.0.1 -p "$port" \
        -mp $((10000 + (port % 1000) * 10)) -nostdin -timeout 40s -timeout_error -max_recv_loops 1000 \
        -trace_err -error_file "$work/$name.errors" "$@" >"$work/$name.out" 2>&1
    local status=$?
    [ $status -eq 0 ] || tail -n 30 "$work/$name.errors" 2>/dev/null
    return $status
}

# A second controller on the board watches what Vornline does with each line.
exec 5<>"/dev/tcp/127.0.0.1/$board_port" || { fail "cannot watch the board"; exit 1; }
cat <&5 >"$work/board.log" &
watcher=$!

want() { [ -z "${SIP_TEST_CASES:-}" ] || [[ ",$SIP_TEST_CASES," == *",$1,"* ]]; }
wait_lines_idle() {
    local deadline=$((SECONDS + 20))
    while [ $SECONDS -lt $deadline ]; do
        echo status >&5
        sleep 0.3
        [ "$(tail -n 4 "$work/board.log" | grep -c ' status [1-4] idle')" -eq 4 ] && return 0
    done
    return 1
}

# 1. A caller who hangs up during the greeting is not transferred, and the line goes
#    back on-hook.
if want hangup; then
    if sipp_run hangup caller_hangs_up.xml "$sipp_port" -m 1 && wait_for " hook 1 on" 10 "$work/board.log"; then
        echo status >&5
        if wait_for " status 1 idle" 5 "$work/board.log" && ! grep -q " dial 1 " "$work/board.log"; then
            pass "a caller who hangs up during the greeting: no transfer, line 1 back on-hook"
        else
            fail "hang-up during the greeting: line 1 not idle, or dialled"; cat "$work/board.log"
        fi
    else
        fail "hang-up during the greeting"
    fi
fi

if want transfer; then
    # 2. A caller who keys 1001 is transferred to port 201 by a REFER; at the same time a
    #    silent caller is transferred to the default port 100 after the time limit.
    sipp_run silent silent_caller.xml $((sipp_port + 2)) -m 1 &
    silent=$!
    if sipp_run keyed keyed_caller.xml "$sipp_port" -m 1 &&
        grep -q "transfer to sip:201@127.0.0.1" "$work/zelgate.log"; then
        pass "a caller who keys 1001 gets a REFER to sip:201@..."
    else
        fail "keyed caller"
    fi
    if wait "$silent" && grep -q "transfer to sip:100@127.0.0.1" "$work/zelgate.log"; then
        pass "a silent caller gets a REFER to sip:100@... after the time limit"
    else
        fail "silent caller"
    fi
    grep -q "REFER accepted: 202" "$work/zelgate.log" || fail "no REFER's 202 was logged"
    grep -q "transfer progress: SIP/2.0 200 OK" "$work/zelgate.log" || fail "no REFER's NOTIFY was logged"

fi
if want info; then
    # 2b. Keys as SIP INFO, from a caller that offers PCMA and no telephone events.
    if wait_lines_idle && sipp_run info info_caller.xml "$sipp_port" -m 1 &&
        grep -q "key 1 (INFO)" "$work/zelgate.log" && grep -q "PCMA call" "$work/zelgate.log"; then
        pass "keys as SIP INFO from a PCMA caller: REFER to sip:201@..."
    else
        fail "INFO keys"
    fi
fi
if want codec; then
    # 3. An offer of G.729 alone is refused with 488.
    if sipp_run g729 g729_offer.xml "$sipp_port" -m 1 && grep -q "sip > .* SIP/2.0 488" "$work/zelgate.log"; then
        pass "an offer with only G.729 gets 488"
    else
        fail "G.729 offer"
    fi
fi

if want busy; then
    # 4. Five callers at once: four lines answer, the fifth caller hears busy. Every line must
    #    be free first: the earlier calls' lines are back on-hook once their goodbyes are over.
    wait_lines_idle || fail "the lines did not all come back idle"
    if sipp_run five five_at_once.xml "$sipp_port" -m 5 -l 5 -r 20; then
        busy=$(grep -c "sip > .* SIP/2.0 486" "$work/zelgate.log")
        if [ "$busy" -eq 1 ]; then
            pass "five calls at once: four answered, one 486"
        else
            fail "five calls at once: $busy 486 answers instead of 1"
        fi
    else
        fail "five calls at once"
    fi
fi

if want register; then
    # 5. Registration with a digest challenge, against SIPp as the registrar.
    printf 'attendant-secret\n' >"$work/password"
    sipp -sf "$here/registrar.xml" -i 127.0.0.1 -p $((sipp_port + 4)) -m 1 -nostdin -timeout 20s -timeout_error \
        -trace_err -error_file "$work/registrar.errors" >"$work/registrar.out" 2>&1 &
    registrar=$!
    sleep 0.5
    "$zelgate" --listen "127.0.0.1:$((sip_port + 10))" --board "$board_port" \
        --register "sip:127.0.0.1:$((sipp_port + 4))" --auth-user 301 --password-file "$work/password" \
        >"$work/zelgate-register.log" 2>&1 &
    registering=$!
    if wait_for "registered: 200" 15 "$work/zelgate-register.log" && wait "$registrar"; then
        pass "registration with a digest challenge"
    else
        fail "registration"; cat "$work/zelgate-register.log"; tail -n 20 "$work/registrar.errors" 2>/dev/null
    fi
    kill "$registering" 2>/dev/null; wait "$registering" 2>/dev/null
fi


# 7. Refusals before any line rings: a caller outside --allow gets 403; with no board to
#    reach, 503. Each from a zelgate of its own.
if want refusals; then
    "$zelgate" --listen "127.0.0.1:$((sip_port + 20))" --board "$board_port" --allow 10.0.0.0/8 \
        >"$work/zelgate-403.log" 2>&1 &
    closed=$!
    "$zelgate" --listen "127.0.0.1:$((sip_port + 21))" --board 9 >"$work/zelgate-503.log" 2>&1 &
    boardless=$!
    wait_for "board: connected" 10 "$work/zelgate-403.log"
    for code in 403 503; do
        port=$((sip_port + 20 + (code == 503)))
        if timeout 30 sipp 127.0.0.1:"$port" -sf "$here/refused_call.xml" -i 127.0.0.1 -p $((sipp_port + 60)) \
            -mp 15000 -nostdin -m 1 -timeout 20s -timeout_error >"$work/refused-$code.out" 2>&1 &&
            grep -q "sip > .* SIP/2.0 $code" "$work/zelgate-$code.log" && ! grep -q "board < ring" "$work/zelgate-$code.log"; then
            pass "refused before ringing: $code"
        else
            fail "no $code"; tail -n 5 "$work/zelgate-$code.log"
        fi
    done
    kill "$closed" "$boardless" 2>/dev/null; wait "$closed" "$boardless" 2>/dev/null
fi

# 6. baresip as a real softphone: it calls, records what it hears, keys 1001 as telephone
#    events, takes the REFER and calls extension 201, where a second baresip answers. What
#    the caller heard must be the greeting (a correlation after G.711, not a length).
if want baresip; then
    kill "$gate" 2>/dev/null; wait "$gate" 2>/dev/null
    wait_lines_idle || fail "the lines did not all come back idle"
    caller_port=$((sipp_port + 30)) ext_port=$((sipp_port + 40)) ctrl_port=$((sipp_port + 50))
    sox -n -r 8000 -c 1 -b 16 "$work/quiet.wav" trim 0 30
    baresip_folder "$work/ext201" "$ext_port" $((ctrl_port + 1)) "$work/quiet.wav" \
        "<sip:201@127.0.0.1>;regint=0;answermode=auto"
    baresip_folder "$work/caller" "$caller_port" "$ctrl_port" "$work/quiet.wav" "<sip:caller@127.0.0.1>;regint=0"
    "$zelgate" --listen "127.0.0.1:$sip_port" --board "$board_port" --transfer-host "127.0.0.1:$ext_port" \
        >"$work/zelgate-baresip.log" 2>&1 &
    gate=$!
    baresip_start "$work/ext201"
    ext=$!
    wait_for "board: connected" 10 "$work/zelgate-baresip.log" || fail "zelgate did not reach the board again"
    baresip_start "$work/caller"
    caller=$!
    wait_for "baresip is ready" 10 "$work/caller/baresip.log" &&
        baresip_do "$ctrl_port" dial "sip:attendant@127.0.0.1:$sip_port"
    if wait_for "line [1-4]: call established" 15 "$work/zelgate-baresip.log"; then
        # A second into the greeting the caller keys the extension.
        wait_for "board > .* play [1-4] 8000 .*greeting" 5 "$work/zelgate-baresip.log"
        sleep 1
        baresip_do "$ctrl_port" sndcode 1001
    fi
    if wait_for "transfer to sip:201@127.0.0.1:$ext_port" 20 "$work/zelgate-baresip.log" &&
        wait_for "(Call established|call established).*caller" 15 "$work/ext201/baresip.log"; then
        pass "baresip keyed 1001, was referred to 201 and extension 201 took the call"
    else
        fail "baresip transfer"; tail -n 30 "$work/caller/baresip.log"; tail -n 20 "$work/ext201/baresip.log"
    fi
    kill "$caller" "$ext" 2>/dev/null; wait "$caller" "$ext" 2>/dev/null
    # The first recording is the call to the attendant (the names hold the start time).
    heard=$(ls "$work/caller/heard"/*dec*.wav 2>/dev/null | head -n 1)
    sox -t vox -r 8000 "$work/greeting.vox" -t raw -e signed -b 16 "$work/greeting.raw" 2>/dev/null
    if [ -n "$heard" ] && sox "$heard" -t raw -e signed -b 16 -c 1 -r 8000 "$work/heard.raw" 2>/dev/null &&
        score=$(python3 "$here/heard_greeting.py" "$work/greeting.raw" "$work/heard.raw"); then
        pass "what the caller heard is the greeting: $score"
    else
        fail "what the caller heard is not the greeting: ${score:-no recording} ($heard)"
    fi
fi

[ "$failures" -eq 0 ]
