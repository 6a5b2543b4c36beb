#!/usr/bin/env bash
# qvrender on FLAC, Monkey's Audio and Ogg Vorbis files: the samples handed to
# the device against the WAV each file was made from, seeking, 24-bit
# reduction, and the Ogg Vorbis bitrate and comments.
# usage: qvrender_plugins_test.sh WORK_DIR FIXTURES_DIR PROGRAM [--wine WINE_ROOT]
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
fixtures="$2"
. "$here/../qvrender_harness.sh"
qvrender_harness "$1" "$3" "${@:4}"

check() { python3 "$here/plugins_check.py" "$@"; }
f() { path "$fixtures/$1"; }

# 16-bit FLAC: exactly its samples scaled by 136/256.
expect 0 -o "$(path "$work/flac16.wav")" "$(f plug_s16_44k_stereo.flac)"
check report "$work/report.json" source_kind=Plugin bits_per_sample=16 frames_out=132300 length_ms=3000 \
  status=3,0/1,0/0,0 tags=null file_tags=null
check scaled-from "$fixtures/plug_s16_44k_stereo.wav" "$work/flac16.wav" 0

# 16-bit APE: the samples of the WAV it was made from, scaled the same way.
for level in 1 3 5; do
  expect 0 -o "$(path "$work/ape$level.wav")" "$(f plug_s16_44k_stereo_c$level.ape)"
  check report "$work/report.json" source_kind=Plugin bits_per_sample=16 frames_out=132300 length_ms=3000
  check scaled-from "$fixtures/plug_s16_44k_stereo.wav" "$work/ape$level.wav" 0
done

# A seek to 1500 ms starts the output at sample 66150 and the position at 1500.
expect 0 --seek 1500 -o "$(path "$work/seek.wav")" "$(f plug_s16_44k_stereo.flac)"
check report "$work/report.json" seek_result=1 seek_position_ms=1500 frames_out=66150
check scaled-from "$fixtures/plug_s16_44k_stereo.wav" "$work/seek.wav" 66150

# 24-bit FLAC plays as 16-bit audio: the samples shifted down by 8 bits.
expect 0 -o "$(path "$work/flac24.wav")" "$(f plug_s24_48k_stereo.flac)"
check report "$work/report.json" bits_per_sample=16 frames_out=48000
check scaled-from "$fixtures/plug_s24_48k_stereo.wav" "$work/flac24.wav" 0

# Routing: APE content named .flac plays; FLAC content named .wma, x.Flac do not.
expect 0 --info "$(f plug_ape_named.flac)"
check report "$work/report.json" opened=true source_kind=Plugin
for bad in plug_flac_named.wma plug_mixed_case.Flac; do
  expect 2 --info "$(f $bad)"
  check report "$work/report.json" opened=false
done

# Ogg Vorbis: nominal bitrate / 1000, comments as tags, the same as file tags.
expect 0 --info "$(f vorbis_tags.ogg)"
check report "$work/report.json" source_kind=OggVorbis length_ms=3000
check bitrate-is-nominal "$work/report.json" "$fixtures/vorbis_tags.ogg"
check tags "$work/report.json" tags \
  "title=A Title Much Longer Than Sixty-Three Characters, Cut By The Eng" \
  "artist=Ünïcödé Ωμέγα 音楽" "album=Fixture Album" "genre=Test Signal" track=7
check same-tags "$work/report.json"
expect 0 "$(f vorbis_tags.ogg)"
check report "$work/report.json" frames_out=132300 bits_per_sample=16 status=3,0/1,0/0,0
echo "qvrender plug-ins: all checks passed"
