# Cross build for 64-bit ARM Linux with Debian's g++-aarch64-linux-gnu; the
# programs it builds (tests included) run under qemu user-mode emulation.
#   cmake -S . -B build/aarch64 --toolchain cmake/toolchains/aarch64-linux-gnu.cmake
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(CMAKE_C_COMPILER aarch64-linux-gnu-gcc)
set(CMAKE_CXX_COMPILER aarch64-linux-gnu-g++)

set(KESTRUNE_AARCH64_SYSROOT /usr/aarch64-linux-gnu)
set(CMAKE_FIND_ROOT_PATH ${KESTRUNE_AARCH64_SYSROOT})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Packages also from the prefixes a consumer names (CMAKE_PREFIX_PATH), where
# an aarch64 Kestrune is installed outside the sysroot.
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE BOTH)

# The sysroot's own C library first: with Debian's arm64 multiarch libc also
# installed, the loader would otherwise pair the cross ld.so with that other
# libc.so.6, and threads then hang at their start.
set(CMAKE_CROSSCOMPILING_EMULATOR
  qemu-aarch64 -L ${KESTRUNE_AARCH64_SYSROOT} -E LD_LIBRARY_PATH=${KESTRUNE_AARCH64_SYSROOT}/lib)
