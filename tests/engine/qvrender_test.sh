#!/usr/bin/env bash
# qvrender end to end: its report, its exit statuses, and the PCM it hands to
# the device, which must be the file's data scaled by 136/256.
# usage: qvrender_test.sh WORK_DIR FIXTURES_DIR PROGRAM [--wine WINE_ROOT]
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
fixtures="$2"
. "$here/../qvrender_harness.sh"
qvrender_harness "$1" "$3" "${@:4}"

check() { python3 "$here/qvrender_check.py" "$@"; }

cp "$fixtures/pcm_s16_44k_stereo.wav" "$work/stereo.wav"
expect 0 -o "$(path "$work/out.wav")" "$(path "$work/stereo.wav")"
check report "$work/report.json" bitrate_kbps=1411 status=3,0/1,0/0,0 buffer_total_bytes=98304 \
  bits_per_sample=16 frames_out=132300 length_ms=3000 source_kind=Wave tags=null
check scaled "$work/stereo.wav" "$work/out.wav"

check make-edges "$work/edges.wav"
expect 0 -o "$(path "$work/edges_out.wav")" "$(path "$work/edges.wav")"
check samples "$work/edges_out.wav" 17407,-17408,53,-54

expect 0 --option OutputBufferLen=5000 "$(path "$work/stereo.wav")"
check report "$work/report.json" buffer_total_bytes=884736 status=3,0/1,0/0,0

expect 0 --seek 1000 "$(path "$work/stereo.wav")"
check report "$work/report.json" frames_out=88200

expect 0 --stop-at 500 "$(path "$work/stereo.wav")"
check report "$work/report.json" status=3,0/1,0/0,0 "position_ms>=500"

expect 0 --info "$(path "$work/stereo.wav")"
check report "$work/report.json" opened=true status=absent

cp "$work/stereo.wav" "$work/ünï 音.wav"
expect 0 --info "$(path "$work/ünï 音.wav")"
check report "$work/report.json" opened=true length_ms=3000

# Files that do not open: exit 2 and one line saying why.
cp "$work/stereo.wav" "$work/stereo.xyz"
cp "$work/stereo.wav" "$work/stereo.Wav"
printf 'RIFF\010\000\000\000WAVEjunk' > "$work/malformed.wav"
for bad in stereo.xyz stereo.Wav malformed.wav missing.wav; do
  expect 2 "$(path "$work/$bad")"
  check report "$work/report.json" opened=false
  [ "$(wc -l < "$work/stderr.txt")" = 1 ] || { echo "$bad: expected one line on stderr"; cat "$work/stderr.txt"; exit 1; }
done

# Usage errors.
expect 1
expect 1 --option NoSuchOption=1 "$(path "$work/stereo.wav")"
expect 1 --option OutputPrebuffer=101 "$(path "$work/stereo.wav")"
expect 1 --volume loud "$(path "$work/stereo.wav")"
if [ "$under_wine" = 0 ]; then
  # The native build has no system wave-out device.
  expect 1 --device waveout "$(path "$work/stereo.wav")"
fi
echo "qvrender: all checks passed"
