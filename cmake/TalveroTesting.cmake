# GoogleTest is compiled from the sources Debian ships, so the native, sanitizer
# and MinGW builds all use the same framework built with the same flags.
set(TALVERO_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest source tree")

if(WIN32 AND CMAKE_CROSSCOMPILING)
  # Test executables run under Wine, with a prefix kept inside the build tree.
  # A 64-bit program runs only in a 64-bit prefix under the 64-bit Wine.
  set(TALVERO_WINE_PREFIX ${CMAKE_BINARY_DIR}/wineprefix)
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(TALVERO_WINE_ARCH win64)
  else()
    set(TALVERO_WINE_ARCH win32)
  endif()
  set(CMAKE_CROSSCOMPILING_EMULATOR env WINEARCH=${TALVERO_WINE_ARCH}
      ${CMAKE_SOURCE_DIR}/scripts/wine-run ${TALVERO_WINE_PREFIX})
endif()

function(talvero_add_gtest_framework)
  if(TARGET gtest)
    return()
  endif()
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
  add_subdirectory(${TALVERO_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  foreach(t gtest gtest_main gmock gmock_main)
    # The framework's own warnings are not ours to fix.
    target_compile_options(${t} PRIVATE -w)
  endforeach()
  # The framework's headers, compiled once and reused by every test program:
  # parsing them took most of the time of compiling a test file.
  file(WRITE ${CMAKE_BINARY_DIR}/test_headers.cpp "")
  add_library(talvero_test_headers OBJECT ${CMAKE_BINARY_DIR}/test_headers.cpp)
  target_link_libraries(talvero_test_headers PRIVATE gmock gtest)
  target_precompile_headers(talvero_test_headers PRIVATE <gtest/gtest.h> <gmock/gmock.h>)
endfunction()

# talvero_test(NAME source... LIBS lib...): one test executable per test file,
# registered as one test; the cross build runs it through the Wine emulator.
function(talvero_test name)
  cmake_parse_arguments(T "" "" "LIBS" ${ARGN})
  talvero_add_gtest_framework()
  add_executable(${name} ${T_UNPARSED_ARGUMENTS})
  target_link_libraries(${name} PRIVATE ${T_LIBS} gmock gtest_main)
  target_precompile_headers(${name} REUSE_FROM talvero_test_headers)
  add_test(NAME ${name} COMMAND ${name} --gtest_brief=1)
  set_tests_properties(${name} PROPERTIES TIMEOUT 600)
endfunction()
