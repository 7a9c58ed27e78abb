#!/bin/bash
# The native zelcfg and zelcfg.exe under Wine must agree byte for byte: each writes a new
# record file, each sets the same fields, and each reads the other's files the same way.
# Usage: same_bytes_test.sh WORKDIR NATIVE-ZELCFG WINDOWS-COMMAND...
# Exits 77 (skipped) when the native build is not there; `make test` builds it first.
set -u
work=$1
native=$2
shift 2
windows=("$@")

if [ ! -x "$native" ]; then
    echo "SKIPPED: no native zelcfg at $native (build the linux preset first)"
    exit 77
fi
rm -rf "$work" && mkdir -p "$work" && cd "$work" || exit 1
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

"$native" new native.cfg || fail "native new failed"
"${windows[@]}" new wine.cfg || fail "zelcfg.exe new failed"
for f in native.cfg wine.cfg; do
    size=$(stat -c %s "$f" 2>/dev/null || echo none)
    [ "$size" = 30249 ] || fail "$f is $size bytes, expected 30249"
done
cmp native.cfg wine.cfg || fail "native and Windows builds wrote different new files"

# Each reads the other's file.
"$native" check wine.cfg || fail "native check of the Windows file"
"${windows[@]}" check native.cfg >/dev/null || fail "Windows check of the native file"

# The same assignments, high bytes included, give the same file and the same dump.
assignments=('route_vox[0]=C:\\Voice\\\x80\xff\xe9.vox' 'holiday_date[59]=12/25/2007'
             'special_close_time[53]=05:30:00 PM' 'answer_ring=4' 'info_line_3=\\ back\\slash')
"$native" set native.cfg "${assignments[@]}" || fail "native set failed"
"${windows[@]}" set wine.cfg "${assignments[@]}" || fail "zelcfg.exe set failed"
cmp native.cfg wine.cfg || fail "native and Windows builds set fields differently"
"$native" dump wine.cfg >native-dump.txt || fail "native dump failed"
"${windows[@]}" dump native.cfg | tr -d '\r' >wine-dump.txt || fail "zelcfg.exe dump failed"
cmp native-dump.txt wine-dump.txt || fail "the two builds dump the same record differently"
grep -qxF 'route_vox[0]=C:\\Voice\\\x80\xff\xe9.vox' native-dump.txt || fail "the high bytes did not survive"

if [ "$failures" -gt 0 ]; then
    echo "$failures failures"
    exit 1
fi
echo "native and Windows zelcfg wrote and read identical 30249-byte files"
