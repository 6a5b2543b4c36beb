#!/usr/bin/env bash
# qvrender on WMA files: played to the end with the level and spectrum of
# ffmpeg's decode (signal-to-noise ratio of at least 40 dB after alignment),
# tags and file tags from the header, a seek to the middle of 1000 packets,
# and the damaged files refused.
# usage: qvrender_wma_test.sh WORK_DIR FIXTURES_DIR PROGRAM [--wine WINE_ROOT]
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
fixtures="$2"
. "$here/../qvrender_harness.sh"
qvrender_harness "$1" "$3" "${@:4}"
# The checks need numpy; the system's interpreter has it where another
# python3 comes first on the path.
py=
for candidate in python3 /usr/bin/python3; do
  if "$candidate" -c "import numpy" 2>/dev/null; then py=$candidate && break; fi
done
[ -n "$py" ] || { echo "no python3 with numpy"; exit 1; }

check() { "$py" "$here/wma_check.py" "$@"; }
f() { path "$fixtures/$1"; }
tagged=("title=WMA Sweep" "artist=Quovira Tests" "album=Fixture Album" year=2004 track=7)

# Every WMA fixture plays to the end like ffmpeg's decode, with its tags.
for name in wma_v2_44k_stereo_128k wma_v2_44k_stereo_64k wma_v2_22k_mono_32k wma_v1_44k_stereo_128k \
    wma_v1_22k_mono_32k; do
  expect 0 -o "$(path "$work/$name.wav")" "$(f $name.wma)"
  check report "$work/report.json" source_kind=Plugin bits_per_sample=16 status=3,0/1,0/0,0
  check tags "$work/report.json" tags "${tagged[@]}"
  check tags "$work/report.json" file_tags "${tagged[@]}"
  check snr "$work/$name.wav" "$fixtures/$name.ref.wav" 40
done

# 1000 packets over 12800 ms: the middle is packet 500 and its time.
expect 0 --seek 6400 -o "$(path "$work/seek.wav")" "$(f wma_v2_1000_packets.wma)"
check report "$work/report.json" seek_result=1 seek_position_ms=6400 length_ms=12800 status=3,0/1,0/0,0
check seek-start "$work/seek.wav" "$fixtures/wma_v2_1000_packets.ref.wav" "$fixtures/wma_v2_1000_packets.wma" 500 40

# Damaged copies fail to open.
for kind in truncated_header object_size_0 object_size_23 object_size_huge header_size_huge packet_size_1 \
    packet_count_0 payload_length no_data_object data_object_size_0; do
  expect 2 --info "$(f wma_bad_$kind.wma)"
  check report "$work/report.json" opened=false
done
echo "qvrender WMA: all checks passed"
