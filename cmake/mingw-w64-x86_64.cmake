# Cross-builds 64-bit Windows programs on Debian with mingw-w64 and runs them through Wine, so that
# ctest runs the Windows tests as it runs the Linux ones:
#   cmake -S . -B build-win64 -G Ninja --toolchain cmake/mingw-w64-x86_64.cmake
# The posix-thread compilers: GCC 12's win32-thread variant has no std::thread.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(triplet x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${triplet}-gcc-posix)
set(CMAKE_CXX_COMPILER ${triplet}-g++-posix)
set(CMAKE_RC_COMPILER ${triplet}-windres)

# Only the target's own files: the build machine's headers and libraries (/usr/include, where
# Debian's CLI11 and nlohmann-json live) never enter a search by accident.
set(CMAKE_FIND_ROOT_PATH /usr/${triplet})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Debian 12 puts `wine` on the PATH (wine64 is the loader behind it for 64-bit programs); the
# wrapper picks the prefix and keeps a wineserver warm.
find_program(VORLANE_WINE_PROGRAM NAMES wine REQUIRED)
set(VORLANE_WINE ${CMAKE_CURRENT_LIST_DIR}/wine-run)
set(CMAKE_CROSSCOMPILING_EMULATOR ${VORLANE_WINE})
