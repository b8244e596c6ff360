# Cross build of the 32-bit Windows program with MinGW-w64 (posix thread model).
set(TALVERO_MINGW_PROCESSOR i686)
set(TALVERO_MINGW_DEPS mingw)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
