#!/usr/bin/env bash
# Like tests/win32/capture_test.sh, for output that the device pads with
# silence: the capture without its zero bytes must equal what the program
# submitted (which holds no zero bytes).
# usage: audible_capture_test.sh WINE_ROOT WORK_DIR PROGRAM.exe [ARGS...]
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
wine_scripts="$here/../../../scripts/wine"
root="$1" work="$2" program="$3"
shift 3
rm -rf "$work" && mkdir -p "$work/home"
export QV_WINE_ROOT="$root" QV_WINE_HOME="$work/home" QV_CAPTURE="$work/capture.raw"
. "$wine_scripts/env.sh"
"$wine_scripts/run" --root "$root" "$program" "$@" "$(qv_winpath "$work/submitted.raw")"
[ -s "$work/submitted.raw" ] || { echo "program wrote nothing"; exit 1; }
[ -f "$work/capture.raw" ] || { echo "no capture: wave-out did not reach the audio device"; exit 1; }
if [ "$(tr -d '\000' < "$work/submitted.raw" | wc -c)" != "$(stat -c %s "$work/submitted.raw")" ]; then
  echo "the submitted audio holds zero bytes; it cannot be told from silence"
  exit 1
fi
tr -d '\000' < "$work/capture.raw" > "$work/capture.audible"
if ! cmp "$work/submitted.raw" "$work/capture.audible"; then
  echo "capture differs: submitted $(stat -c %s "$work/submitted.raw") bytes, audible in capture $(stat -c %s "$work/capture.audible")"
  exit 1
fi
echo "capture holds the $(stat -c %s "$work/submitted.raw") submitted bytes in $(stat -c %s "$work/capture.raw") bytes with silence"
