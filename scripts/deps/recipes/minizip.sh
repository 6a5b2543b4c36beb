# minizip: only the ZIP reader (unzip.c, ioapi.c, iowin32.c), against the
# mingw zlib from libz-mingw-w64-dev. Headers go to include/minizip/ as in
# Debian's libminizip-dev. Also puts a zlib.pc for that zlib in the prefix,
# since pkg-config only looks there in the Win32 build.
# shellcheck shell=bash disable=SC2034,SC2154
SRC_PKG[minizip]=minizip
PC_NAMES[minizip]="minizip zlib"

build_minizip() {
  local f objs=()
  for f in unzip ioapi iowin32; do
    echo "+ $CC $OPT_FLAGS -c $f.c"
    # shellcheck disable=SC2086
    "$CC" $OPT_FLAGS -Wall -c "$f.c" -o "$f.o"
    objs+=("$f.o")
  done
  rm -f libminizip.a
  "$AR" rcs libminizip.a "${objs[@]}"
  install -d "$PREFIX/lib" "$PREFIX/include/minizip" "$PREFIX/lib/pkgconfig"
  install -m 644 libminizip.a "$PREFIX/lib/"
  install -m 644 unzip.h ioapi.h iowin32.h "$PREFIX/include/minizip/"

  # Same layout as Debian's minizip.pc (-I.../include/minizip, so <unzip.h>
  # works), plus -I.../include so <minizip/unzip.h> works too. zlib is the
  # toolchain's own (/usr/i686-w64-mingw32/lib/libz.a).
  cat >"$PREFIX/lib/pkgconfig/minizip.pc" <<PC
prefix=$PREFIX
exec_prefix=\${prefix}
libdir=\${exec_prefix}/lib
includedir=\${prefix}/include

Name: minizip
Description: Minizip zip file reading library
Requires:
Version: ${SRC_VERSION[minizip]%%-*}
Libs: -L\${libdir} -lminizip
Libs.private: -lz
Cflags: -I\${includedir}/minizip -I\${includedir}
PC

  # The toolchain's zlib lives in the compiler's default search paths, so
  # no -I/-L: an explicit -I/usr/i686-w64-mingw32/include would reorder the
  # system headers and break libstdc++'s #include_next.
  local zver
  zver=$(sed -n 's/^Version: *//p' "/usr/$HOST/lib/pkgconfig/zlib.pc" 2>/dev/null || true)
  cat >"$PREFIX/lib/pkgconfig/zlib.pc" <<PC
prefix=/usr/$HOST
libdir=\${prefix}/lib
includedir=\${prefix}/include

Name: zlib
Description: zlib compression library (mingw-w64 build from libz-mingw-w64-dev)
Version: ${zver:-1.2.13}
Requires:
Libs: -lz
Cflags:
PC
}
