#!/usr/bin/env bash
# The registry seeding helper puts values where a Win32 program reads them.
# usage: registry_seed_test.sh WINE_ROOT WORK_DIR
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$1" work="$2"
rm -rf "$work" && mkdir -p "$work"
key='HKEY_CURRENT_USER\Software\QuoviraTests\Seed'
printf 'Windows Registry Editor Version 5.00\r\n\r\n[%s]\r\n"Number"=dword:0000002a\r\n"Text"="from a file"\r\n' "$key" > "$work/seed.reg"
"$here/../../scripts/wine/seed-registry" --root "$root" "$work/seed.reg"
"$here/../../scripts/wine/seed-registry" --root "$root" --add 'HKCU\Software\QuoviraTests\Seed' Added REG_SZ 'by name'
out="$("$here/../../scripts/wine/run" --root "$root" reg query 'HKCU\Software\QuoviraTests\Seed' | tr -d '\r')"
echo "$out"
grep -Eq 'Number +REG_DWORD +0x2a' <<<"$out"
grep -Eq 'Text +REG_SZ +from a file' <<<"$out"
grep -Eq 'Added +REG_SZ +by name' <<<"$out"
"$here/../../scripts/wine/run" --root "$root" reg delete 'HKCU\Software\QuoviraTests' /f >/dev/null
