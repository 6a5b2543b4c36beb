# libogg: Ogg container, used by Tremor.
# shellcheck shell=bash
SRC_PKG[libogg]=libogg
PC_NAMES[libogg]="ogg"

build_libogg() {
  ac_configure
  make -j"$JOBS"
  make install
}
