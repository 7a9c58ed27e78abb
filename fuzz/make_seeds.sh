#!/bin/bash
# Writes the committed seed inputs of the fuzz targets (fuzz/corpus/<target>/) with the
# given native zelcfg. Run by hand when the seeds should change:
#   fuzz/make_seeds.sh build/linux/zelcfg/zelcfg
set -euo pipefail
ZELCFG=${1:?path of a native zelcfg}
HERE=$(cd "$(dirname "$0")" && pwd)
C=$HERE/corpus
rm -rf "$C"
mkdir -p "$C"/{fuzz_record_file,fuzz_validation_report,fuzz_schedule_transfer,fuzz_call_flow,fuzz_control_line}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

"$ZELCFG" new "$tmp/default.cfg"
cp "$tmp/default.cfg" "$tmp/designed.cfg"
"$ZELCFG" set "$tmp/designed.cfg" answer_ring=2 int_transfer_delay=2 ext_transfer_delay=3 \
    vox_type_name=DRT_8KHZ vox_type_index=2 default_port=200 \
    'open_greeting_vox=C:\\voice\\open.vox' 'closed_greeting_vox=C:\\voice\\closed.vox' \
    'wrong_ext_vox=C:\\voice\\wrong.vox' 'no_input_vox=C:\\voice\\none.vox' \
    'system_error_vox=C:\\voice\\bye.vox' \
    'route_ext[0]=1001' 'route_port[0]=201' 'route_vox[0]=C:\\voice\\r0.vox' \
    'route_from_time[0]=05:00:00 PM' 'route_to_time[0]=08:00:00 AM' 'route_alt_number[0]=95551234' \
    'holiday_date[0]=12/25/2009' 'special_date[0]=07/03/2009' \
    'special_open_time[0]=09:00:00 AM' 'special_close_time[0]=05:00:00 PM' \
    'day_name[0]=MON' 'day_closed[0]=00' 'day_name[2]=WEN' 'day_closed[2]=01'

cp "$tmp/default.cfg" "$tmp/designed.cfg" "$C/fuzz_record_file/"
cp "$tmp/default.cfg" "$tmp/designed.cfg" "$C/fuzz_validation_report/"
# The same record with bare line feeds, and cut short inside the routes.
tr -d '\r' <"$tmp/designed.cfg" >"$C/fuzz_record_file/bare_lf.cfg"
head -c 14000 "$tmp/designed.cfg" >"$C/fuzz_record_file/short.cfg"

# The structured targets start from a few byte strings; mutation takes it from there.
printf '\x00\x01\x02\x03\x04\x05\x06\x07\x08\x09\x0a\x0b\x0c\x0d\x0e\x0f' >"$C/fuzz_schedule_transfer/count"
printf '1001\\\x10\x02\x00\x04\x01\x03\x00\x05\x11\x02\x07\x0b\x09\x03\x01\x0c\x16\x17\x03' \
    >"$C/fuzz_schedule_transfer/route"
cp "$C/fuzz_schedule_transfer/count" "$C/fuzz_call_flow/count"
printf '1001\\\x02\x05\x07\x01\x00\x02\x00\x00\x00\x00\x01\x00\x00\x00\x03\x03\x10\x02\x07\x09\x0b' \
    >"$C/fuzz_call_flow/keys"

# Control lines: ConsumeRandomLengthString ends a string at a backslash and another byte.
printf '%s' '@odxxxB1C1\ ring 1 2\ @w\ dtmf 1 1234\ @k\ hangup 1\ status\ ' >"$C/fuzz_control_line/call"
printf '%s' 'fail play 2\ @v\x01\x23\x45\x67\x89\ @p\ record 2 x.wav\ @d&,,201\ @r\ @x\ @c\ ' \
    >"$C/fuzz_control_line/ops"
printf '%s' 'ring 4 999\ dtmf 3 *#0\ fail sethook 1\ fail wtring 1\ fail collect 1\ fail dial 4\ ' \
    >"$C/fuzz_control_line/words"
