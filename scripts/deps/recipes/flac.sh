# libFLAC and libFLAC++ without Ogg FLAC, programs or docs.
# shellcheck shell=bash disable=SC2034,SC2154
SRC_PKG[flac]=flac
PC_NAMES[flac]="flac flac++"

build_flac() {
  # Stack protector and fortify would pull in libssp, which the .pc files do
  # not mention.
  ac_configure --disable-ogg --disable-programs --disable-examples \
    --disable-doxygen-docs --disable-stack-smash-protection --disable-fortify-source \
    --disable-version-from-git --disable-rpath
  make -j"$JOBS" -C src/libFLAC
  make -j"$JOBS" -C src/libFLAC++
  make -C src/libFLAC install
  make -C src/libFLAC++ install
  make -C include install

  # A static libFLAC on Windows needs FLAC__NO_DLL in every user, otherwise
  # the headers declare the API dllimport.
  sed -i 's|^Cflags: .*|& -DFLAC__NO_DLL|' "$PREFIX/lib/pkgconfig/flac.pc" "$PREFIX/lib/pkgconfig/flac++.pc"
}
