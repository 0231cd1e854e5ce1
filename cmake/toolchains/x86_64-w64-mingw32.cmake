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

# wine finds the compiler's runtime DLLs (libstdc++, libgcc, winpthread) on
# WINEPATH and keeps its prefix, made on first use, in the build tree.
find_program(KESTRUNE_WINE NAMES wine wine64 PATHS /usr/lib/wine)
if(KESTRUNE_WINE)
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=libstdc++-6.dll
    OUTPUT_VARIABLE runtime_dll OUTPUT_STRIP_TRAILING_WHITESPACE)
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=libwinpthread-1.dll
    OUTPUT_VARIABLE pthread_dll OUTPUT_STRIP_TRAILING_WHITESPACE)
  get_filename_component(runtime_dir "${runtime_dll}" DIRECTORY)
  get_filename_component(pthread_dir "${pthread_dll}" REALPATH)
  get_filename_component(pthread_dir "${pthread_dir}" DIRECTORY)
  if(NOT DEFINED ENV{WINEPREFIX})
    set(wine_prefix "WINEPREFIX=${CMAKE_BINARY_DIR}/wine")
  endif()
  set(CMAKE_CROSSCOMPILING_EMULATOR
    env WINEDEBUG=-all ${wine_prefix} "WINEPATH=${runtime_dir}\\;${pthread_dir}" ${KESTRUNE_WINE})
endif()
