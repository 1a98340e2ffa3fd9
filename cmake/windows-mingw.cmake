# Cross-compiling for 64-bit Windows with MinGW-w64 (posix threads) from Debian.
#
#   cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/windows-mingw.cmake \
#         -DCMAKE_PREFIX_PATH=$HOME/.cache/zqar-windows/qt-6.4.2
#
# The same file serves the Qt build itself (scripts/setup-windows.sh). Programs found on the
# build machine (moc, rcc, uic) come from the native Qt; libraries and headers only from the
# MinGW sysroot and the prefixes named in CMAKE_PREFIX_PATH / ZQAR_WINDOWS_ROOTS.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(ZQAR_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${ZQAR_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ZQAR_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${ZQAR_MINGW_TRIPLE}-windres)
set(CMAKE_AR ${ZQAR_MINGW_TRIPLE}-gcc-ar-posix CACHE FILEPATH "Archiver")
set(CMAKE_RANLIB ${ZQAR_MINGW_TRIPLE}-gcc-ranlib-posix CACHE FILEPATH "Archive indexer")

# Extra target prefixes (the cross-built Qt and GoogleTest), separated by ';'. Read from the
# environment too so try_compile projects, which do not see the cache, find the same roots.
if(NOT ZQAR_WINDOWS_ROOTS AND DEFINED ENV{ZQAR_WINDOWS_ROOTS})
    set(ZQAR_WINDOWS_ROOTS "$ENV{ZQAR_WINDOWS_ROOTS}")
endif()
set(CMAKE_FIND_ROOT_PATH /usr/${ZQAR_MINGW_TRIPLE} ${ZQAR_WINDOWS_ROOTS})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE BOTH)

# Tests and tools run through Wine when CTest or a custom command runs them.
find_program(ZQAR_WINE NAMES wine64 wine PATHS /usr/lib/wine /usr/bin NO_CMAKE_FIND_ROOT_PATH)
if(ZQAR_WINE)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${ZQAR_WINE})
endif()
