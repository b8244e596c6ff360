# What both Windows cross builds share (MinGW-w64, posix thread model): the
# caller sets TALVERO_MINGW_PROCESSOR (i686 or x86_64) and
# TALVERO_MINGW_DEPS (the folder under build/deps where scripts/mingw-libpng.sh
# and scripts/mingw-libjpeg.sh install that processor's libraries).
set(triplet ${TALVERO_MINGW_PROCESSOR}-w64-mingw32)
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${TALVERO_MINGW_PROCESSOR})
set(CMAKE_C_COMPILER ${triplet}-gcc-posix)
set(CMAKE_CXX_COMPILER ${triplet}-g++-posix)
set(CMAKE_RC_COMPILER ${triplet}-windres)
get_filename_component(TALVERO_MINGW_LIBPNG ${CMAKE_CURRENT_LIST_DIR}/../build/deps/${TALVERO_MINGW_DEPS}-libpng ABSOLUTE)
get_filename_component(TALVERO_MINGW_LIBJPEG ${CMAKE_CURRENT_LIST_DIR}/../build/deps/${TALVERO_MINGW_DEPS}-libjpeg ABSOLUTE)
set(CMAKE_FIND_ROOT_PATH /usr/${triplet} ${TALVERO_MINGW_LIBPNG} ${TALVERO_MINGW_LIBJPEG})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
