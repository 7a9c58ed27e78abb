#!/bin/bash
# Runs the zelcfg program itself (natively, or the .exe under Wine) through the things
# only the real program shows: exit statuses, which stream a text goes to, arguments
# with backslashes, and files written by its own C runtime.
# Usage: program_test.sh WORKDIR COMMAND... (the command that starts zelcfg)
set -u
work=$1
shift
zelcfg=("$@")

rm -rf "$work" && mkdir -p "$work" && cd "$work" || exit 1
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# Runs zelcfg with the given arguments; leaves status, out and err (CRs removed, as a
# Windows program's text-mode output carries them).
run() {
    "${zelcfg[@]}" "$@" >out.txt 2>err.txt
    status=$?
    out=$(tr -d '\r' <out.txt)
    err=$(tr -d '\r' <err.txt)
}
expect() {  # expect NAME STATUS STREAM-TEXT PART
    local name=$1 want=$2 text=$3 part=$4
    [ "$status" = "$want" ] || fail "$name: exit status $status, expected $want (out: $out) (err: $err)"
    case "$text" in *"$part"*) ;; *) fail "$name: '$part' not in: $text" ;; esac
}

run
expect "no arguments" 1 "$err" "usage: zelcfg COMMAND FILE"
[ -z "$out" ] || fail "no arguments: usage belongs on stderr, got stdout: $out"
run --help
expect "--help" 0 "$out" "zelcfg set FILE NAME=VALUE ..."

run new rec.cfg
expect "new" 0 "" ""
size=$(stat -c %s rec.cfg 2>/dev/null || echo none)
[ "$size" = 30249 ] || fail "new: file is $size bytes, expected 30249"
run check rec.cfg
expect "check of a new file" 0 "$out" "rec.cfg: sound record file"

cp rec.cfg before.cfg
run new rec.cfg
expect "new over a file" 1 "$err" "rec.cfg: already exists"
cmp -s rec.cfg before.cfg || fail "new over a file changed it"

run set rec.cfg 'open_greeting_vox=C:\\Voice\\\xe9t\xe9.vox' 'route_ext[15]=1015' 'day_name[6]=SUN'
expect "set" 0 "" ""
run get rec.cfg open_greeting_vox
expect "get after set" 0 "$out" 'C:\\Voice\\\xe9t\xe9.vox'
[ "$out" = 'C:\\Voice\\\xe9t\xe9.vox' ] || fail "get printed '$out'"
run dump rec.cfg
expect "dump" 0 "$out" 'route_ext[15]=1015'
lines=$(printf '%s\n' "$out" | wc -l)
[ "$lines" = 824 ] || fail "dump printed $lines lines, expected 824"

cp rec.cfg before.cfg
run set rec.cfg 'answer_ring=3' 'route_ext[60]=1'
expect "set out of range" 1 "$err" "rec.cfg: index 60 of 'route_ext' is out of range 0-59"
cmp -s rec.cfg before.cfg || fail "a refused set changed the file"
run set rec.cfg 'info_line_1=a\x1ab'
expect "set forbidden byte" 1 "$err" "rec.cfg: info_line_1: the byte \\x1a"
cmp -s rec.cfg before.cfg || fail "a refused set changed the file"

head -c 20000 before.cfg >short.cfg
run check short.cfg
expect "check of a short file" 1 "$out" "short.cfg: offset 20000: the file ends after 20000 bytes"
run dump short.cfg
expect "dump of a short file" 0 "$err" "short.cfg: short file: only"
run set short.cfg 'answer_ring=3'
expect "set on a short file" 1 "$err" "short.cfg: not a sound record file"
[ "$(stat -c %s short.cfg)" = 20000 ] || fail "set on a short file changed it"

run get missing.cfg answer_ring
expect "get of a missing file" 1 "$err" "missing.cfg: cannot open"
[ ! -e missing.cfg ] || fail "get created missing.cfg"

if [ "$failures" -gt 0 ]; then
    echo "$failures failures"
    exit 1
fi
echo "all program checks passed"
