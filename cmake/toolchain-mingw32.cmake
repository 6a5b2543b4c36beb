# Cross toolchain for the 32-bit Windows build (mingw-w64, posix thread model).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)

set(QV_MINGW_TRIPLE i686-w64-mingw32)
set(CMAKE_C_COMPILER   ${QV_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QV_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER  ${QV_MINGW_TRIPLE}-windres)

# Libraries cross-built by scripts/setup live in a cache outside the tree.
if(NOT QV_WIN32_DEPS)
  if(DEFINED ENV{QV_WIN32_DEPS})
    set(QV_WIN32_DEPS "$ENV{QV_WIN32_DEPS}")
  elseif(DEFINED ENV{QV_CACHE})
    set(QV_WIN32_DEPS "$ENV{QV_CACHE}/win32")
  else()
    set(QV_WIN32_DEPS "$ENV{HOME}/.cache/quovira/win32")
  endif()
endif()
set(QV_WIN32_DEPS "${QV_WIN32_DEPS}" CACHE PATH "Prefix of the cross-built Win32 libraries")

set(CMAKE_FIND_ROOT_PATH /usr/${QV_MINGW_TRIPLE} ${QV_WIN32_DEPS})
set(CMAKE_PREFIX_PATH ${QV_WIN32_DEPS})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# pkg-config must only see the cross-built .pc files.
set(ENV{PKG_CONFIG_LIBDIR} "${QV_WIN32_DEPS}/lib/pkgconfig")
set(ENV{PKG_CONFIG_PATH} "")
set(ENV{PKG_CONFIG_SYSROOT_DIR} "")

set(CMAKE_C_FLAGS_INIT   "-msse2 -mfpmath=sse")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")
set(CMAKE_EXE_LINKER_FLAGS_INIT    "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static-libgcc -static-libstdc++ -Wl,-Bstatic,--whole-archive -lwinpthread -Wl,--no-whole-archive,-Bdynamic")
