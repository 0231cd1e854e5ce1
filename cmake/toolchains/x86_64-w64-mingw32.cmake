# Cross build for 64-bit Windows with Debian's mingw-w64 (g++-mingw-w64-x86-64-posix),
# running what it builds under wine (wine64):
#   cmake -S . -B build/windows --toolchain cmake/toolchains/x86_64-w64-mingw32.cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE BOTH)  # an installed Kestrune lies outside the root

# Programs run under wine; set WINEPREFIX (the windows presets keep it in the
# build tree) and WINEDEBUG=-all to taste.
find_program(KESTRUNE_WINE NAMES wine wine64 PATHS /usr/lib/wine)
if(KESTRUNE_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${KESTRUNE_WINE})
endif()
