# FFmpeg cut down to what the player needs from it: Monkey's Audio (APE) and
# WMA (ASF container, WMAv1/v2). avformat, avcodec and avutil only.
# shellcheck shell=bash disable=SC2034,SC2154
SRC_PKG[ffmpeg]=ffmpeg
PC_NAMES[ffmpeg]="libavformat libavcodec libavutil"

build_ffmpeg() {
  # --disable-autodetect keeps out optional system libraries (zlib, iconv,
  # ...); Win32 threads are asked for explicitly. libavutil still wants
  # -luser32 -lbcrypt and libavcodec -lole32, all part of Windows; the .pc
  # files list them.
  # Configured for the final prefix and installed through DESTDIR: the
  # configure line is compiled into libavutil (avutil_configuration()).
  ./configure --prefix="$prefix" \
    --enable-cross-compile --cross-prefix="$HOST-" --arch=x86 --target-os=mingw32 \
    --cc="$CC" --cxx="$CXX" --ar="$AR" --ranlib="$RANLIB" --strip="$STRIP" \
    --pkg-config=pkg-config --extra-cflags="$OPT_FLAGS" \
    --enable-static --disable-shared --disable-debug \
    --disable-programs --disable-doc --disable-network --disable-autodetect \
    --enable-w32threads --disable-x86asm \
    --disable-avdevice --disable-swscale --disable-postproc --disable-avfilter \
    --disable-swresample \
    --disable-everything \
    --enable-demuxer=ape,asf --enable-decoder=ape,wmav1,wmav2 --enable-protocol=file
  make -j"$JOBS"
  make install DESTDIR="$PWD/_dest"
  rm -rf "_dest$prefix/share/ffmpeg"
  cp -a "_dest$prefix/." "$PREFIX/"
}
