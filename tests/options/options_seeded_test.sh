#!/usr/bin/env bash
# Options seeded into wine's registry as another program would leave them:
# loaded with their defaults and corrections, then saved back with the
# types the player writes.
# usage: options_seeded_test.sh WINE_ROOT WORK_DIR PROBE.exe
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$1" work="$2" probe="$3"
scripts="$here/../../scripts/wine"
key='HKEY_CURRENT_USER\Software\HALVORN\QuoviraPlayer\MP3'
rm -rf "$work" && mkdir -p "$work"
"$scripts/run" --root "$root" reg delete 'HKCU\Software\HALVORN\QuoviraPlayer\MP3' /f >/dev/null 2>&1 || true

{
  printf 'Windows Registry Editor Version 5.00\r\n\r\n[%s]\r\n' "$key"
  printf '"Repeat"=dword:00000002\r\n'
  printf '"Window Alpha"=dword:00000000\r\n'
  printf '"OutputBufferLen"=dword:00000005\r\n'
  printf '"OutputPrebuffer"=dword:00000040\r\n'
  printf '"SleepMinutes"=dword:000003e8\r\n'
  printf '"ResumeTrack"=dword:ffffffff\r\n'
  printf '"LastDir"="C:\\\\Music\\\\Seeded"\r\n'
  printf '"ScrollTitle"=hex:00,00\r\n'
} > "$work/options.reg"
"$scripts/seed-registry" --root "$root" "$work/options.reg"

out="$("$scripts/run" --root "$root" "$probe" save | tr -d '\r')"
echo "$out"
expect() { grep -qxF "$1" <<<"$out" || { echo "missing: $1"; exit 1; }; }
expect 'Repeat=2'
expect 'Window Alpha=255'
expect 'OutputBufferLen=20'
expect 'OutputPrebuffer=64'
expect 'SleepMinutes=30'
expect 'ResumeTrack=-1'
expect 'LastDir=C:\Music\Seeded'
expect 'ScrollTitle=0'          # two raw bytes replace the low half of the 1
expect 'TimeReverse=0'          # missing from an existing key
expect 'StreamingPreBuffer=100' # the engine's default

query="$("$scripts/run" --root "$root" reg query 'HKCU\Software\HALVORN\QuoviraPlayer\MP3' | tr -d '\r')"
echo "$query"
grep -Eq '^ +Window Alpha +REG_DWORD +0xff$' <<<"$query"
grep -Eq '^ +OutputBufferLen +REG_DWORD +0x14$' <<<"$query"
grep -Eq '^ +ScrollTitle +REG_DWORD +0x0$' <<<"$query"
grep -Eq '^ +LastDir +REG_SZ +C:\\Music\\Seeded$' <<<"$query"
grep -Eq '^ +StreamingProxy +REG_SZ *$' <<<"$query"
[ "$(grep -c 'REG_DWORD' <<<"$query")" -eq 26 ]
[ "$(grep -c 'REG_SZ' <<<"$query")" -eq 3 ]
"$scripts/run" --root "$root" reg delete 'HKCU\Software\HALVORN\QuoviraPlayer\MP3' /f >/dev/null
