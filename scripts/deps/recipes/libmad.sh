# libmad: fixed-point MPEG audio decoder (FPM_INTEL on i686), with the
# project's fixes for its heap overflows (patches/libmad; the fuzz build
# carries the same, scripts/deps/build-patched-mad).
# shellcheck shell=bash disable=SC2034,SC2154
SRC_PKG[libmad]=libmad
PC_NAMES[libmad]="mad"

build_libmad() {
  apply_patches libmad
  # Its configure adds -fforce-mem, which gcc no longer accepts.
  sed -i 's/ -fforce-mem//' configure
  # The 2004 config.sub/config.guess predate the w64 mingw triplets.
  cp /usr/share/misc/config.sub /usr/share/misc/config.guess .
  ac_configure --enable-fpm=intel --disable-debugging
  make -j"$JOBS"
  make install

  # Upstream ships no pkg-config file; this is the one Debian installs.
  cat >"$PREFIX/lib/pkgconfig/mad.pc" <<PC
prefix=$PREFIX
exec_prefix=\${prefix}
libdir=\${exec_prefix}/lib
includedir=\${prefix}/include

Name: mad
Description: MPEG Audio Decoder
Requires:
Version: ${SRC_VERSION[libmad]%%-*}
Libs: -L\${libdir} -lmad
Cflags: -I\${includedir}
PC
}
