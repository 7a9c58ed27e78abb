#!/bin/bash
# Times `make test` as a newcomer meets it: a fresh clone of the committed main into a
# temporary folder, the packages already installed. Prints the build, each CTest run and the
# fuzz replay with their seconds, then the whole; keeps the clone's log in $OUT.
#   tools/clean-clone-test.sh [OUT]      (OUT defaults to /tmp/zel-clean-<time>.log)
set -euo pipefail

top=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-/tmp/zel-clean-$(date +%s).log}
clone=$(mktemp -d /tmp/zel-clean-XXXXXX)
trap 'rm -rf "$clone"' EXIT

git clone -q "$top" "$clone/zel"
cd "$clone/zel"
stamp() { date +%s.%N; }
step() {  # step NAME COMMAND...
    local name=$1 start status=0
    shift
    start=$(stamp)
    "$@" >>"$out" 2>&1 || status=$?
    printf '%-24s %7.1f s%s\n' "$name" "$(echo "$(stamp) - $start" | bc)" "$([ $status -eq 0 ] || echo "  FAILED ($status)")"
    return $status
}
begin=$(stamp)
status=0
step "build" make build || status=1
[ $status -eq 0 ] && { step "native tests" ctest --preset linux || status=1; }
[ $status -eq 0 ] && { step "Windows tests" ctest --preset windows || status=1; }
[ $status -eq 0 ] && { step "fuzz replay" ./tools/fuzz.sh replay || status=1; }
printf '%-24s %7.1f s\n' "make test, in all" "$(echo "$(stamp) - $begin" | bc)"
# Each Windows test's own time, longest first.
grep -E 'Test +#[0-9]+: ' "$out" | sed -E 's/.*Test +#[0-9]+: ([^ ]+) [ .*]*(Passed|Failed|\*\*\*Failed|Not Run)? *([0-9.]+) sec.*/\3 \1 \2/' |
    sort -rn | awk '{ printf "  %-40s %7.1f %s\n", $2, $1, $3 }'
echo "log: $out"
exit $status
