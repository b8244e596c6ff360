# Cross build of the 32-bit Windows program with MinGW-w64 (posix thread model).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_C_COMPILER i686-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER i686-w64-mingw32-windres)
# libpng and libjpeg, which the toolchain lacks, are built by
# scripts/mingw-libpng.sh and scripts/mingw-libjpeg.sh.
get_filename_component(TALVERO_MINGW_LIBPNG ${CMAKE_CURRENT_LIST_DIR}/../build/deps/mingw-libpng ABSOLUTE)
get_filename_component(TALVERO_MINGW_LIBJPEG ${CMAKE_CURRENT_LIST_DIR}/../build/deps/mingw-libjpeg ABSOLUTE)
set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32 ${TALVERO_MINGW_LIBPNG} ${TALVERO_MINGW_LIBJPEG})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
