# Cross build of the same program for 64-bit Windows with MinGW-w64 (posix
# thread model), for machines whose kernel runs no 32-bit code.
set(TALVERO_MINGW_PROCESSOR x86_64)
set(TALVERO_MINGW_DEPS mingw64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
