# libogg: Ogg container, used by Tremor.
# shellcheck shell=bash disable=SC2034,SC2154
SRC_PKG[libogg]=libogg
PC_NAMES[libogg]="ogg"

build_libogg() {
  ac_configure
  make -j"$JOBS"
  make install
}
