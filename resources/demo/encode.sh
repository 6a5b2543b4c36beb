#!/usr/bin/env bash
# Builds the demo tracks: the piece composed by compose.py, encoded as MP3,
# Ogg Vorbis and FLAC with the same tags. The numbers in the names put the MP3
# last, so a start with all three plays it first.
# usage: encode.sh PYTHON OUT_DIR
set -euo pipefail
python="$1" out="$2"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
mkdir -p "$out"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
"$python" -B "$here/compose.py" "$work/piece.wav"
title="Harbour Lights" artist="Quovira" album="QuoviraPlayer" year=2026
oggenc --quiet -q 5 -t "$title" -a "$artist" -l "$album" -d "$year" -o "$work/1 Harbour Lights.ogg" "$work/piece.wav"
flac --silent --force -T "TITLE=$title" -T "ARTIST=$artist" -T "ALBUM=$album" -T "DATE=$year" \
  -o "$work/2 Harbour Lights.flac" "$work/piece.wav"
lame --quiet --noreplaygain -b 192 --tt "$title" --ta "$artist" --tl "$album" --ty "$year" --id3v1-only \
  "$work/piece.wav" "$work/3 Harbour Lights.mp3"
cp "$work/1 Harbour Lights.ogg" "$work/2 Harbour Lights.flac" "$work/3 Harbour Lights.mp3" "$out/"
# The piece as composed, for checking what a player made of it.
cp "$work/piece.wav" "$out/piece.wav"
touch "$out/.complete"
