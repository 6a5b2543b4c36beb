#!/usr/bin/env bash
# qvrender with the stereo effects and the spectrum feed: the levels of
# digital silence in each mode, byte identity at zero settings and for mono
# streams, out-of-range records, and usage errors.
# usage: qvrender_qbs_test.sh WORK_DIR PROGRAM [--wine WINE_ROOT]
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
. "$here/../qvrender_harness.sh"
qvrender_harness "$@"

check() { python3 "$here/qvrender_qbs_check.py" "$@"; }

single=-10,-11,-11,-11,-12,-12,-12,-13,-13,-14,-14,-14,-15,-15,-15,-16,-16,-16,-17,-17
both=-10,-11,-12,-12,-13,-14,-15,-15,-16,-17,-10,-11,-12,-12,-13,-14,-15,-15,-16,-17

check make-wav "$work/silence.wav" silence 2
check make-wav "$work/music.wav" music 2
check make-wav "$work/mono.wav" music 1
#                                 wide mode surr bass reverb preset fb short long flag
check make-qbs "$work/zero.qbs"   1    1    0    0    1      3      10 0     0    0
check make-qbs "$work/on.qbs"     1    0    10   10   1      2      0  0     0    0
check make-qbs "$work/wild.qbs"   1    -4   200  -7   1      9      99 -1    11   1
check make-qbs "$work/wildc.qbs"  1    5    -200 300  1      3      -5 1000  -1   0
check make-qbs "$work/short.qbs"  short

# Digital silence, with the feed on in each mode; modes outside 1 to 3 read as 1.
for mode in 1 2 3 0 4; do
  expect 0 --spectrum "$mode" "$(path "$work/silence.wav")"
  check played "$work/report.json"
  if [ "$mode" = 3 ]; then check spectrum "$work/report.json" "$both"; else check spectrum "$work/report.json" "$single"; fi
done
expect 0 "$(path "$work/silence.wav")"
check no-spectrum "$work/report.json"

# Zero settings change nothing; settings that act do.
expect 0 -o "$(path "$work/plain.wav")" "$(path "$work/music.wav")"
expect 0 --qbs-params "$(path "$work/zero.qbs")" -o "$(path "$work/zero.wav")" "$(path "$work/music.wav")"
check same "$work/plain.wav" "$work/zero.wav"
expect 0 --qbs-params "$(path "$work/on.qbs")" -o "$(path "$work/on.wav")" "$(path "$work/music.wav")"
check differ "$work/plain.wav" "$work/on.wav"

# A mono stream passes both effects untouched.
expect 0 -o "$(path "$work/mono_plain.wav")" "$(path "$work/mono.wav")"
expect 0 --qbs-params "$(path "$work/on.qbs")" -o "$(path "$work/mono_on.wav")" "$(path "$work/mono.wav")"
check same "$work/mono_plain.wav" "$work/mono_on.wav"

# Out-of-range steps play.
for record in wild wildc; do
  expect 0 --qbs-params "$(path "$work/$record.qbs")" --spectrum 3 -o "$(path "$work/$record.wav")" "$(path "$work/music.wav")"
  check played "$work/report.json"
  check differ "$work/plain.wav" "$work/$record.wav"
done

# Usage errors.
expect 1 --qbs-params "$(path "$work/short.qbs")" "$(path "$work/music.wav")"
expect 1 --qbs-params "$(path "$work/missing.qbs")" "$(path "$work/music.wav")"
expect 1 --qbs-params
expect 1 --spectrum left "$(path "$work/music.wav")"
echo "qvrender stereo effects and spectrum: all checks passed"
