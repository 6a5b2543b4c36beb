#!/usr/bin/env bash
# The damaged corpus end to end: generates it from the fixtures and runs every
# file through qvrender or qvload (the Win32 ones under wine), failing on any
# crash, sanitizer report, hang or changed file (see run.py).
# usage: run_damage.sh WORK_DIR FIXTURES_DIR QVRENDER QVLOAD [--wine WINE_ROOT]
# QV_DAMAGE_JOBS sets how many files run at once (default 2).
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
work="$1" fixtures="$2" qvrender="$3" qvload="$4"
shift 4
wine=()
if [ "${1:-}" = "--wine" ]; then
  # Inside a wine session (make test-win32) its prefix is the one whose
  # wineserver is already running; otherwise the build's.
  export QV_WINE_ROOT="${QV_WINE_ROOT:-$2}"
  # shellcheck source=../../scripts/wine/env.sh
  . "$here/../../scripts/wine/env.sh"
  qv_ensure_prefix
  wine=(--wine)
else
  # A single allocation of a gigabyte or more from a file of a few hundred
  # kilobytes is a fault even where it would succeed.
  export ASAN_OPTIONS="max_allocation_size_mb=1024:allocator_may_return_null=0:detect_leaks=1${ASAN_OPTIONS:+:$ASAN_OPTIONS}"
  export UBSAN_OPTIONS="print_stacktrace=1${UBSAN_OPTIONS:+:$UBSAN_OPTIONS}"
fi
rm -rf "$work" && mkdir -p "$work"
python3 "$here/generate.py" "$fixtures" "$here/../.." "$work/corpus"
python3 "$here/run.py" "$work/corpus" --qvrender "$qvrender" --qvload "$qvload" "${wine[@]}" \
  --jobs "${QV_DAMAGE_JOBS:-2}" --timeout 30
