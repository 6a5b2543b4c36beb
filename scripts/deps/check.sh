# --check for build-win32-deps; sourced, not run. Builds one small program
# per library from check/ against the cache, links it the way the player
# links (static, static libgcc/libstdc++) and runs it under Wine.
# shellcheck shell=bash disable=SC2154

CHECK_PASSED=0
CHECK_FAILED=0

check_result() {
  local name=$1 ok=$2 log=$3 msg
  if [ "$ok" = 1 ]; then
    CHECK_PASSED=$((CHECK_PASSED + 1))
    msg=$(tr -d '\r' <"$log" | grep -v '^+ ' | tail -n 1)
    printf '  %-13s ok    %s\n' "$name" "$msg"
  else
    CHECK_FAILED=$((CHECK_FAILED + 1))
    printf '  %-13s FAIL  (log: %s)\n' "$name" "$log"
    tr -d '\r' <"$log" | tail -n 20 | sed 's/^/      /'
  fi
}

# Runs an .exe under Wine in the check dir; without Wine, only links.
run_exe() {
  local exe=$1
  if [ "$HAVE_WINE" = 1 ]; then
    (cd "$(dirname "$exe")" && timeout 300 wine "$exe" </dev/null)
  else
    echo "linked $(basename "$exe") (wine not installed, not run)"
  fi
}

# check_program NAME SOURCE PKG-CONFIG-NAME...
check_program() {
  local name=$1 src="$deps_dir/check/$2" exe="$CHECK_DIR/$1.exe" log="$CHECK_DIR/$1.log"
  shift 2
  local compiler=$CC flags ok=0
  case "$src" in *.cpp) compiler=$CXX ;; esac
  if flags=$(pkg-config --static --cflags --libs "$@" 2>"$log"); then
    echo "+ $compiler $OPT_FLAGS -o $exe $src $flags $STATIC_LDFLAGS" >>"$log"
    # shellcheck disable=SC2086
    "$compiler" $OPT_FLAGS -o "$exe" "$src" $flags $STATIC_LDFLAGS >>"$log" 2>&1 &&
      run_exe "$exe" >>"$log" 2>&1 && ok=1
  fi
  check_result "$name" "$ok" "$log"
}

check_gtest_cmake() {
  local prefix=$1 bdir="$CHECK_DIR/gtest-cmake" log="$CHECK_DIR/gtest-cmake.log"
  if cmake -S "$deps_dir/check/gtest-cmake" -B "$bdir" \
       -DCMAKE_SYSTEM_NAME=Windows -DCMAKE_SYSTEM_PROCESSOR=x86 \
       -DCMAKE_C_COMPILER="$CC" -DCMAKE_CXX_COMPILER="$CXX" \
       -DCMAKE_PREFIX_PATH="$prefix" -DCMAKE_BUILD_TYPE=Release >"$log" 2>&1 &&
     cmake --build "$bdir" -j "$JOBS" >>"$log" 2>&1 &&
     run_exe "$bdir/gtest_cmake_check.exe" >>"$log" 2>&1; then
    check_result "gtest(cmake)" 1 "$log"
  else
    check_result "gtest(cmake)" 0 "$log"
  fi
}

run_checks() {
  local prefix=$1
  export PKG_CONFIG_LIBDIR="$prefix/lib/pkgconfig"
  unset PKG_CONFIG_PATH PKG_CONFIG_SYSROOT_DIR
  CHECK_DIR=$(mktemp -d "${TMPDIR:-/tmp}/qv-win32-check.XXXXXX")

  HAVE_WINE=0
  if command -v wine >/dev/null 2>&1; then
    HAVE_WINE=1
    export WINEPREFIX="${QV_WINEPREFIX:-/tmp/qvdeps-wine}" WINEDEBUG=-all
    # No Mono/Gecko install prompts for console programs.
    export WINEDLLOVERRIDES="mscoree,mshtml="
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
      echo "win32 deps check: creating Wine prefix $WINEPREFIX (takes a while once)"
      wineboot -i >/dev/null 2>&1 || true
    fi
  fi

  echo "win32 deps check: $prefix (logs in $CHECK_DIR)"
  check_program mad       mad.c       mad
  check_program ogg       ogg.c       ogg
  check_program tremor    tremor.c    vorbisidec
  check_program flac++    flac.cpp    flac++
  check_program minizip   minizip.c   minizip zlib
  check_program ffmpeg    ffmpeg.c    libavformat libavcodec libavutil
  check_program gtest     gtest.cpp   gmock_main
  check_gtest_cmake "$prefix"

  echo "check: $CHECK_PASSED passed, $CHECK_FAILED failed"
  [ "$CHECK_FAILED" -eq 0 ] || return 1
  rm -rf "$CHECK_DIR"
}
