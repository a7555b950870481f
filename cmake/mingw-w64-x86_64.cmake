# Cross-compiling for 64-bit Windows with Debian's MinGW-w64 (win32 thread model).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TOOLCHAIN_PREFIX x86_64-w64-mingw32)

set(CMAKE_C_COMPILER ${TOOLCHAIN_PREFIX}-gcc-win32)
set(CMAKE_CXX_COMPILER ${TOOLCHAIN_PREFIX}-g++-win32)
set(CMAKE_RC_COMPILER ${TOOLCHAIN_PREFIX}-windres)
set(CMAKE_AR ${TOOLCHAIN_PREFIX}-ar)
set(CMAKE_RANLIB ${TOOLCHAIN_PREFIX}-ranlib)

# Static libpng, libjpeg-turbo and libtiff built by scripts/bootstrap live outside the checkout.
if(DEFINED ENV{SCRKIT_WINLIBS})
  set(SCRKIT_WINLIBS "$ENV{SCRKIT_WINLIBS}")
else()
  set(SCRKIT_WINLIBS "/var/cache/scrkit/winlibs/current")
endif()

set(CMAKE_FIND_ROOT_PATH ${SCRKIT_WINLIBS} /usr/${TOOLCHAIN_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Every Windows program links the GCC runtime statically.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
