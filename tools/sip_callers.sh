#!/bin/bash
# The four callers of `make sip`: baresip softphones that call the attendant over SIP
# through zelgate, key an extension (or nothing) as telephone events, and follow the
# REFER to a fifth baresip that answers every extension. What each caller heard is
# recorded; the transcript is zelgate's log.
#   sip_callers.sh <board port> <zelgate> <out folder> <work folder>
# Leaves zelgate running and prints its pid on the last line ("zelgate <pid>").
set -uo pipefail

board_port=$1 zelgate=$2 out=$3 work=$4
sip_port=${ZEL_SIP_PORT:-5070}
desk_port=$((sip_port + 10))
mkdir -p "$out" "$work/sip"
sox -n -r 8000 -c 1 -b 16 "$work/sip/quiet.wav" trim 0 60

. "$(dirname "$0")/baresip.sh"

softphone() {  # <name> <sip port> <control port> <account lines...>: prints the pid
    local dir=$work/sip/$1
    baresip_folder "$dir" "$2" "$3" "$work/sip/quiet.wav" "${@:4}"
    baresip_start "$dir"
    echo $!
}

"$zelgate" --listen "127.0.0.1:$sip_port" --board "$board_port" --transfer-host "127.0.0.1:$desk_port" \
    >"$out/transcript.txt" 2>&1 &
gate=$!
wait_for "board: connected" 10 "$out/transcript.txt" || { echo "sip demo: zelgate did not reach the board" >&2; exit 1; }
echo "zelgate listens on 127.0.0.1:$sip_port (log: $out/transcript.txt)"

desk_accounts=()
for ext in 200 201 202 203 95550123; do desk_accounts+=("<sip:$ext@127.0.0.1>;regint=0;answermode=auto"); done
pids=("$(softphone desk "$desk_port" $((sip_port + 20)) "${desk_accounts[@]}")")

keys=(1001 1002 1003 "")
for n in 1 2 3 4; do
    pids+=("$(softphone "caller$n" $((sip_port + 30 + 2 * n)) $((sip_port + 40 + n)) "<sip:caller$n@127.0.0.1>;regint=0")")
done
# All four dial at once; each keys its extension a second into its own greeting.
for n in 1 2 3 4; do
    wait_for "baresip is ready" 10 "$work/sip/caller$n/baresip.log" &&
        baresip_do $((sip_port + 40 + n)) dial "sip:attendant@127.0.0.1:$sip_port"
    wait_for "line $n: .* ringing" 10 "$out/transcript.txt"
done
for n in 1 2 3 4; do
    if wait_for "board > [0-9]+ play $n " 30 "$out/transcript.txt"; then
        echo "caller $n is on line $n and hears the greeting; keys: ${keys[n - 1]:-(none)}"
        sleep 1
        [ -n "${keys[n - 1]}" ] && baresip_do $((sip_port + 40 + n)) sndcode "${keys[n - 1]}"
    else
        echo "caller $n: line $n was not answered"
    fi
done
# Every call ends with Vornline's goodbye and its BYE.
for n in 1 2 3 4; do
    if wait_for "line $n: Vornline hung up" 45 "$out/transcript.txt"; then
        target=$(grep -oE "line $n: transfer to [^ ]+" "$out/transcript.txt" | tail -n 1)
        echo "caller $n: ${target#line $n: }"
    else
        echo "caller $n: no end seen within 45 s"
    fi
done
sleep 1
kill "${pids[@]}" 2>/dev/null
wait "${pids[@]}" 2>/dev/null
for n in 1 2 3 4; do
    heard=$(ls "$work/sip/caller$n/heard"/*dec*.wav 2>/dev/null | head -n 1)
    [ -n "$heard" ] && cp "$heard" "$out/caller$n-heard.wav"
done
answered=$(grep -c "Call established" "$work/sip/desk/baresip.log" 2>/dev/null || true)
echo "the desk phone took $answered transferred calls"
echo "zelgate $gate"
