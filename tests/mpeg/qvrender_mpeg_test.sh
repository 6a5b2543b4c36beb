#!/usr/bin/env bash
# qvrender on MPEG audio, end to end: the report of each version and layer,
# the decode of a 128 kbit/s file against ffmpeg's (aligned, by signal to
# noise), a seek to 30 s in both length modes, tags, and a file that is not
# MPEG audio.
# usage: qvrender_mpeg_test.sh WORK_DIR FIXTURES_DIR PROGRAM [--wine WINE_ROOT]
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
fixtures="$2"
. "$here/../qvrender_harness.sh"
qvrender_harness "$1" "$3" "${@:4}"
# The comparison needs numpy: Debian's python3 has it (scripts/setup).
py=python3
"$py" -c 'import numpy' 2>/dev/null || py=/usr/bin/python3

# field PATH.TO.KEY: a value of the last report
field() { "$py" -c 'import json,sys; r=json.load(open(sys.argv[1]))
for k in sys.argv[2].split("."): r=r[k]
print(json.dumps(r) if not isinstance(r, str) else r)' "$work/report.json" "$1"; }
must() {  # must DESCRIPTION PYTHON-EXPRESSION (r is the report)
  "$py" -c 'import json,sys; r=json.load(open(sys.argv[1])); t=r.get("track_info", {})
assert eval(sys.argv[3]), "%s: %s" % (sys.argv[2], json.dumps(r))' "$work/report.json" "$1" "$2"
}

song="$fixtures/mpeg1_l3_128k_60s.mp3"
cp "$song" "$work/song.mp3"

# The 128 kbit/s file: its report, and its audio against ffmpeg's.
expect 0 -o "$(path "$work/whole.wav")" "$(path "$work/song.mp3")"
must "MPEG-1 layer III" 't["mpeg_version"] == 1 and t["mpeg_layer"] == 3 and t["channels"] == 2 and t["sample_rate"] == 44100'
must "128 kbit/s" 't["bitrate_kbps"] == 128'
must "time text of the duration" \
  't["time_text"] == "%02d:%02d" % (t["duration_ms"] // 60000, t["duration_ms"] // 1000 % 60) and 59500 < t["duration_ms"] < 60600'
must "played to the end" 'r["status"] == [[3, 0], [1, 0], [0, 0]] and r["bits_per_sample"] == 16'
"$py" "$here/mpeg_compare.py" snr "$work/whole.wav" "$fixtures/mpeg1_l3_128k_60s.ref.wav" 60 1152

# A seek to 30 s starts the output there, in both length modes, and the
# position counts on from 30 s.
for scan in 0 1; do
  expect 0 --option ScanCompletely=$scan --seek 30000 -o "$(path "$work/seek.wav")" "$(path "$work/song.mp3")"
  must "position from 30 s (ScanCompletely=$scan)" \
    '30000 < r["position_ms"] <= 30000 + r["frames_out"] * 1000 // 44100 + 50'
  "$py" "$here/mpeg_compare.py" offset "$work/seek.wav" "$work/whole.wav" 1323000 1152
done

# MPEG-2 and MPEG-2.5: versions and rates; a variable-bitrate MPEG-2 file
# reports the length of its Xing header (the frames decoded, less that
# header's own).
check_format() {  # FILE VERSION LAYER RATE
  expect 0 -o "$(path "$work/out.wav")" "$(path "$fixtures/$1")"
  must "$1: version $2 layer $3 at $4 Hz" "t['mpeg_version'] == $2 and t['mpeg_layer'] == $3 and t['sample_rate'] == $4"
  "$py" "$here/mpeg_compare.py" snr "$work/out.wav" "$fixtures/${1%.*}.ref.wav" 60 1152 >/dev/null
}
check_format mpeg2_l3_cbr.mp3 2 3 22050
check_format mpeg2_l3_vbr.mp3 2 3 22050
must "Xing length" 't["duration_ms"] == (r["frames_out"] // 576 - 1) * 576 * 1000 // 22050'
check_format mpeg25_l3_cbr.mp3 3 3 11025
check_format mpeg25_l3_8k.mp3 3 3 8000
check_format mpeg1_l2.mp2 1 2 44100
check_format mpeg2_l2.mp2 2 2 22050
check_format mpeg1_l1.mpa 1 1 44100
check_format mpeg25_l1.mpa 3 1 8000

# Tags, from the open file and through the file test.
expect 0 --info "$(path "$fixtures/tagged_v1.mp3")"
for key in tags file_tags; do
  must "$key" "r['$key'] == {'title': 'Title Thirty Characters Long!!', 'artist': 'Artist Name', 'album': 'Album Name',
    'comment': '42 is the comment', 'genre': 'Contemporary Christian', 'year': 1999, 'track': 7}"
done

# Not MPEG audio: no open, one line saying why.
head -c 5000 /dev/zero | tr '\0' 'x' > "$work/notes.mp3"
expect 2 "$(path "$work/notes.mp3")"
must "not opened" 'r == {"opened": False}'
[ "$(wc -l < "$work/stderr.txt")" = 1 ] || { cat "$work/stderr.txt"; exit 1; }
echo "qvrender MPEG: all checks passed"
