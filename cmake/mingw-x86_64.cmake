# Cross build of the same program for 64-bit Windows with MinGW-w64 (posix
# thread model), for machines whose kernel runs no 32-bit code.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
# libpng and libjpeg, which the toolchain lacks, are built by
# scripts/mingw-libpng.sh x86_64 and scripts/mingw-libjpeg.sh x86_64.
get_filename_component(TALVERO_MINGW_LIBPNG ${CMAKE_CURRENT_LIST_DIR}/../build/deps/mingw64-libpng ABSOLUTE)
get_filename_component(TALVERO_MINGW_LIBJPEG ${CMAKE_CURRENT_LIST_DIR}/../build/deps/mingw64-libjpeg ABSOLUTE)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32 ${TALVERO_MINGW_LIBPNG} ${TALVERO_MINGW_LIBJPEG})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
