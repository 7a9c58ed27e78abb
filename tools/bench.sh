#!/bin/bash
# Runs the benchmarks side by side and prints one table of their figures, with the machine
# they ran on. `make bench` builds them first; docs/performance.md says what each one means.
# Usage: tools/bench.sh [linux-build-dir [windows-build-dir]]
#   BENCH_RUNS   repetitions for the repeated measurements (default: each benchmark's own)
#   BENCH_CALLS  calls for the runtime's overhead (default 200)
#   BENCH_NICE   niceness for the benchmarks (default 0; 19 on a machine others use)
#   BENCH_ONE_CORE  0 skips the second run of the Wine benchmarks on one core (default: run it)
# The log and the table go to <linux-build-dir>/bench-results/ as well.
set -uo pipefail

top=$(cd "$(dirname "$0")/.." && pwd)
linux=$(cd "${1:-$top/build/bench-linux}" && pwd) || { echo "bench: no Linux build folder" >&2; exit 2; }
windows=$(cd "${2:-$top/build/bench-windows}" && pwd) || { echo "bench: no Windows build folder" >&2; exit 2; }
nice_level=${BENCH_NICE:-0}
runs_arg=()
[ -n "${BENCH_RUNS:-}" ] && runs_arg=(--runs "$BENCH_RUNS")

results=$linux/bench-results
mkdir -p "$results"
stamp=$(date +%Y%m%d-%H%M%S)
log=$results/bench-$stamp.log
table=$results/bench-$stamp.txt
: > "$log"

machine() {
    local cpu cores kernel os wine_version
    cpu=$(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ *//')
    cores=$(nproc)
    kernel=$(uname -sr)
    os=$(. /etc/os-release 2>/dev/null && echo "$PRETTY_NAME")
    wine_version=$(wine --version 2>/dev/null || echo "not installed")
    echo "Machine: ${cpu:-unknown CPU}, $cores cores, $(free -g | awk '/^Mem:/ {print $2 " GiB"}') memory"
    echo "System:  $os, kernel $kernel, $wine_version"
    echo "Code:    $(git -C "$top" rev-parse --short HEAD 2>/dev/null || echo unknown), built $(stat -c %y "$linux/CMakeCache.txt" 2>/dev/null | cut -d. -f1)"
    echo "Load:    $(cut -d' ' -f1-3 /proc/loadavg) at $(date '+%Y-%m-%d %H:%M')"
}

# run <name> <command...>: its output to the log, its ROW lines kept.
failed=()
run() {
    local name=$1
    shift
    echo "== $name: $*" >> "$log"
    echo "bench: $name ..." >&2
    if ! nice -n "$nice_level" "$@" >> "$log" 2>&1; then
        failed+=("$name")
        echo "bench: $name FAILED (see $log)" >&2
    fi
}

wine_run=("$top/tools/wine-run.sh" --prefix "$windows/wineprefix")

exe() {  # the first file of that name under a build folder
    find "$1" -name "$2" -not -path '*/wineprefix/*' -not -path '*/CMakeFiles/*' 2>/dev/null | sort | head -n 1
}

# ---- sizes of what we ship -------------------------------------------------------------
# As built (with debugging information) and stripped, as a release would carry them.
strip_tool=$(command -v x86_64-w64-mingw32-strip || true)
for f in Vornline.exe Plandesk.exe libdxxmt.dll libsrlmt.dll; do
    path=$(exe "$windows" "$f")
    [ -n "$path" ] || continue
    built=$(stat -c %s "$path")
    stripped="?"
    if [ -n "$strip_tool" ] && "$strip_tool" -o "$results/stripped.tmp" "$path" 2>/dev/null; then
        stripped=$(( ($(stat -c %s "$results/stripped.tmp") + 512) / 1024 ))
        rm -f "$results/stripped.tmp"
    fi
    printf 'ROW\tfootprint\tsize of %s, stripped (as built)\t%s KiB (%s KiB)\t\t\n' "$f" \
        "$stripped" "$(( (built + 512) / 1024 ))" >> "$log"
done

# ---- the benchmarks ----------------------------------------------------------------------
[ -x "$linux/bench/schedule_bench" ] && run schedule "$linux/bench/schedule_bench"
[ -x "$linux/bench/vox_decode_bench" ] && run vox "$linux/bench/vox_decode_bench" --work "$linux/bench-data" "${runs_arg[@]}"
# The SIP gateway against a scripted board and SIPp callers (raw sniffing needs root).
if [ -x "$linux/gateway/zelgate" ] && command -v sipp >/dev/null && [ "$(id -u)" -eq 0 ]; then
    run sip python3 "$top/bench/sip/sip_bench.py" "$linux/gateway/zelgate"
fi
wine_benchmarks() {  # <label> <wine-run command...>
    local label=$1
    shift
    [ -f "$windows/bench/tool_response_bench.exe" ] &&
        run "plandesk$label" "$@" "$windows/bench/tool_response_bench.exe" "${runs_arg[@]}"
    [ -f "$windows/bench/call_overhead_bench.exe" ] &&
        run "vornline$label" "$@" "$windows/bench/call_overhead_bench.exe" --calls "${BENCH_CALLS:-200}"
}
wine_benchmarks "" "${wine_run[@]}"
# The same again with the program, its wineserver and its X server on one core. Nearly every
# window operation under Wine is a request to the wineserver; on a virtual machine whose idle
# cores halt, waking the other core for each request costs more than the request itself, and
# on one core that wake-up is a plain task switch. The difference between the two runs is
# that cost. A prefix of its own gives these runs a wineserver and an Xvfb started on that core.
if [ "${BENCH_ONE_CORE:-1}" != 0 ] && command -v taskset >/dev/null; then
    echo "== one core: the rows below are tagged 'one core'" >> "$log"
    mark=$(wc -l < "$log")
    wine_benchmarks " (one core)" taskset -c 0 "$top/tools/wine-run.sh" --prefix "$windows/wineprefix-onecore"
    awk -v mark="$mark" -F'\t' 'BEGIN { OFS = "\t" } NR > mark && /^ROW/ { $2 = $2 ", one core" } { print }' \
        "$log" > "$log.tmp" && mv "$log.tmp" "$log"
fi

# ---- the table -----------------------------------------------------------------------------
{
    machine
    echo
    { printf 'Area\tMeasure\tValue\tGoal\tVerdict\n'; grep -a '^ROW' "$log" | tr -d '\r' | cut -f2-; } |
        awk -F'\t' 'BEGIN { OFS = "\t" } { for (i = 1; i <= 5; ++i) if ($i == "") $i = "-"; print }' |
        column -t -s $'\t'
    if [ ${#failed[@]} -gt 0 ]; then
        echo
        echo "FAILED: ${failed[*]} (see $log)"
    fi
} | tee "$table"
echo "(log: $log)"
[ ${#failed[@]} -eq 0 ]
