#!/bin/bash
# The soak: 10,000 calls (or CALLS) across the four lines of Vornline.exe under Wine, with
# the stand-in board at SPEED times real time (default 20), a mix of valid, wrong, silent
# and hung-up callers, some of them at the same moment. Prints calls completed, mismatched
# outcomes, dead lines, fault boxes and Vornline's working set after Open, after warm-up
# and at the end; exits 0 only when all is well (see tests/ui/reliability/soak_driver.cpp).
#
#   tools/soak.sh [CALLS [SPEED]]        (SOAK_BUILD: the windows build folder to use)
set -euo pipefail

ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${SOAK_BUILD:-$ROOT/build/windows}
CALLS=${1:-10000}
SPEED=${2:-20}
WARMUP=$((CALLS / 10))

if [ ! -f "$BUILD/CMakeCache.txt" ]; then
    cmake --preset windows -B "$BUILD" >/dev/null
fi
cmake --build "$BUILD" --target soak_driver -j2
# Progress lines stream as the calls go rather than all at the end.
export ZEL_WINE_DIRECT=1
exec "$ROOT/tools/wine-run.sh" --prefix "$BUILD/wineprefix" \
    "$BUILD/tests/ui/reliability/soak_driver.exe" --calls "$CALLS" --speed "$SPEED" --warmup "$WARMUP" --max-growth 5
