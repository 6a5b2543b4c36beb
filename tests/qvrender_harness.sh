# Sourced by the qvrender test scripts: how to run qvrender natively or under
# wine, and how to check its exit status.
#   qvrender_harness WORK_DIR PROGRAM [--wine WINE_ROOT]
# empties WORK_DIR, sets work, program and under_wine, and defines
#   run ARGS...           qvrender with ARGS
#   path FILE             FILE as qvrender sees it (a Z: path under wine)
#   expect STATUS ARGS... runs qvrender and fails the test unless it exits
#                         with STATUS; the report lands in $work/report.json,
#                         stderr in $work/stderr.txt
qv_harness_dir="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"

qvrender_harness() {
  work="$1" program="$2"
  rm -rf "$work" && mkdir -p "$work"
  # Non-ASCII paths pass through the command line as UTF-8 (wide on Win32).
  export LC_ALL=C.UTF-8
  under_wine=0
  if [ "${3:-}" = "--wine" ]; then
    under_wine=1
    export QV_WINE_ROOT="$4" QV_WINE_HOME="$work/home"
    . "$qv_harness_dir/../scripts/wine/env.sh"
    run() { "$qv_harness_dir/../scripts/wine/run" --root "$QV_WINE_ROOT" "$program" "$@"; }
    path() { qv_winpath "$1"; }
  else
    run() { "$program" "$@"; }
    path() { printf '%s' "$1"; }
  fi
}

expect() {
  local want="$1"
  shift
  set +e
  run "$@" > "$work/report.json" 2> "$work/stderr.txt"
  local got=$?
  set -e
  if [ "$got" != "$want" ]; then
    echo "qvrender $*: exit $got, expected $want"
    cat "$work/stderr.txt" "$work/report.json"
    exit 1
  fi
}
