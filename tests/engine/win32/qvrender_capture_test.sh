#!/usr/bin/env bash
# The engine on the real wave-out driver under wine: qvrender plays a WAV
# file end to end, and wine's audio capture must hold exactly the PCM the
# engine handed to the device (qvrender -o).
# usage: qvrender_capture_test.sh WINE_ROOT WORK_DIR QVRENDER.exe INPUT.wav
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$1" work="$2" program="$3" input="$4"
rm -rf "$work" && mkdir -p "$work/home"
export QV_WINE_ROOT="$root" QV_WINE_HOME="$work/home" QV_CAPTURE="$work/capture.raw"
. "$here/../../../scripts/wine/env.sh"
"$here/../../../scripts/wine/run" --root "$root" "$program" --device waveout -o "$(qv_winpath "$work/out.wav")" \
  "$(qv_winpath "$input")" > "$work/report.json"
python3 "$here/../qvrender_check.py" report "$work/report.json" status=3,0/1,0/0,0 bits_per_sample=16
[ -f "$work/capture.raw" ] || { echo "no capture: wave-out did not reach the audio device"; exit 1; }
tail -c +45 "$work/out.wav" > "$work/submitted.raw"
[ -s "$work/submitted.raw" ] || { echo "the engine submitted nothing"; exit 1; }
if ! cmp "$work/submitted.raw" "$work/capture.raw"; then
  echo "capture differs: submitted $(stat -c %s "$work/submitted.raw") bytes, captured $(stat -c %s "$work/capture.raw")"
  exit 1
fi
echo "capture matches the $(stat -c %s "$work/capture.raw") bytes the engine submitted"
