#!/usr/bin/env bash
# Runs a wave-out program under wine with the audio capture on, then checks
# that the capture holds exactly the bytes the program says it submitted.
# usage: capture_test.sh WINE_ROOT WORK_DIR PROGRAM.exe
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$1" work="$2" program="$3"
rm -rf "$work" && mkdir -p "$work/home"
export QV_WINE_ROOT="$root" QV_WINE_HOME="$work/home" QV_CAPTURE="$work/capture.raw"
. "$here/../../scripts/wine/env.sh"
"$here/../../scripts/wine/run" --root "$root" "$program" "$(qv_winpath "$work/submitted.raw")"
[ -s "$work/submitted.raw" ] || { echo "program wrote nothing"; exit 1; }
[ -f "$work/capture.raw" ] || { echo "no capture: wave-out did not reach the audio device"; exit 1; }
if ! cmp "$work/submitted.raw" "$work/capture.raw"; then
  echo "capture differs: submitted $(stat -c %s "$work/submitted.raw") bytes, captured $(stat -c %s "$work/capture.raw")"
  exit 1
fi
echo "capture matches $(stat -c %s "$work/capture.raw") submitted bytes"
