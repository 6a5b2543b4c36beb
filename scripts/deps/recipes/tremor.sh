# Tremor (libvorbisidec): integer Vorbis decoder. Headers go to
# include/tremor/ as in Debian, so <tremor/ivorbisfile.h> works in both the
# native and the Win32 build.
# shellcheck shell=bash disable=SC2034,SC2154
SRC_PKG[tremor]=libvorbisidec
PC_NAMES[tremor]="vorbisidec"

build_tremor() {
  # Only configure.in is shipped; AM_CONFIG_HEADER is gone from automake.
  sed -i 's/AM_CONFIG_HEADER/AC_CONFIG_HEADERS/' configure.in
  # ogg.m4 (XIPH_PATH_OGG) comes from libogg-dev in /usr/share/aclocal.
  autoreconf -fi
  # libogg is found through pkg-config in the staging prefix.
  ac_configure
  make -j"$JOBS"
  make install
}
