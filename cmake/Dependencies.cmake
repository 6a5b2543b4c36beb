# Imported targets for the installed libraries. Natively they come from
# Debian's -dev packages; in the Win32 build from the cache that
# scripts/setup fills (the toolchain file points pkg-config there) and are
# linked statically.
find_package(PkgConfig REQUIRED)

function(qv_pkg_target target module)
  string(MAKE_C_IDENTIFIER "QVPKG_${target}" var)
  pkg_check_modules(${var} QUIET ${module})
  if(NOT ${var}_FOUND)
    message(STATUS "pkg-config module ${module} not found; ${target} unavailable")
    return()
  endif()
  add_library(${target} INTERFACE IMPORTED GLOBAL)
  if(WIN32)
    set_target_properties(${target} PROPERTIES
      INTERFACE_INCLUDE_DIRECTORIES "${${var}_STATIC_INCLUDE_DIRS}"
      INTERFACE_COMPILE_OPTIONS "${${var}_STATIC_CFLAGS_OTHER}"
      INTERFACE_LINK_LIBRARIES "${${var}_STATIC_LDFLAGS}")
  else()
    set_target_properties(${target} PROPERTIES
      INTERFACE_INCLUDE_DIRECTORIES "${${var}_INCLUDE_DIRS}"
      INTERFACE_COMPILE_OPTIONS "${${var}_CFLAGS_OTHER}"
      INTERFACE_LINK_LIBRARIES "${${var}_LDFLAGS}")
  endif()
endfunction()

if(QV_FUZZ)
  include(PatchedMad)
else()
  qv_pkg_target(qv::mad mad)
endif()
qv_pkg_target(qv::ogg ogg)
qv_pkg_target(qv::tremor vorbisidec)
qv_pkg_target(qv::flacpp flac++)
qv_pkg_target(qv::ffmpeg "libavformat;libavcodec;libavutil")
qv_pkg_target(qv::zlib zlib)
qv_pkg_target(qv::minizip minizip)

find_package(Threads REQUIRED)
find_package(GTest CONFIG QUIET)
if(NOT GTest_FOUND)
  find_package(GTest REQUIRED)
endif()
