# GoogleTest, built for mingw from Debian's sources, and the helpers that register tests.
set(TARNVIEW_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources")

# tarnview_add_test(<name> LABEL unit|component|e2e|bench SOURCES ... [LIBS ...] [NO_MAIN])
# One executable, one CTest entry, run under Wine in the build tree's prefix.
# Component and end-to-end tests change the prefix's registered devices, so they
# hold a lock that keeps them from running at the same time.
function(tarnview_add_test name)
  cmake_parse_arguments(T "NO_MAIN;WIN32" "LABEL;TIMEOUT" "SOURCES;LIBS" ${ARGN})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 900)
  endif()
  add_executable(${name} ${T_SOURCES})
  if(T_NO_MAIN)
    target_link_libraries(${name} PRIVATE gtest gmock ${T_LIBS})
  else()
    target_link_libraries(${name} PRIVATE gtest_main gtest gmock ${T_LIBS})
  endif()
  add_test(NAME ${name} COMMAND ${name} --gtest_color=no)
  set_tests_properties(${name} PROPERTIES
    LABELS "${T_LABEL}"
    TIMEOUT ${T_TIMEOUT}
    FIXTURES_REQUIRED wineprefix
    ENVIRONMENT TARNVIEW_END_WINESERVER=1)
  if(T_LABEL STREQUAL "component" OR T_LABEL STREQUAL "e2e" OR T_LABEL STREQUAL "bench")
    set_tests_properties(${name} PROPERTIES RESOURCE_LOCK wine_devices)
  endif()
endfunction()

function(tarnview_add_test_tree)
  if(NOT EXISTS ${TARNVIEW_GTEST_SOURCE}/CMakeLists.txt)
    message(FATAL_ERROR "GoogleTest sources not found in ${TARNVIEW_GTEST_SOURCE} "
                        "(tools/deps.sh installs them; -DTARNVIEW_TESTS=OFF builds without tests)")
  endif()
  set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(${TARNVIEW_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

  # The prefix is made (or refreshed) once before any test runs.
  add_test(NAME wineprefix_setup
    COMMAND bash ${CMAKE_SOURCE_DIR}/tools/prepare-prefix.sh ${CMAKE_BINARY_DIR})
  set_tests_properties(wineprefix_setup PROPERTIES FIXTURES_SETUP wineprefix TIMEOUT 300)

  foreach(dir
      tests/support
      tests/e2e/driver
      tests/bench/avimux
      tests/bench/decoders
      tests/bench/program
      tests/bench/snapshot
      tests/bench/vcam
      tests/component/capture
      tests/component/decoders
      tests/component/vcam
      tests/component/vcam_registry
      tests/component/winecompat
      tests/e2e/discovery
      tests/e2e/faults
      tests/e2e/profiles
      tests/e2e/recording
      tests/e2e/release
      tests/e2e/shell
      tests/e2e/snapshot
      tests/unit/afx
      tests/unit/avimux
      tests/unit/capture
      tests/unit/comkit
      tests/unit/decoders
      tests/unit/snapshot
      tests/unit/ui
      tests/unit/vcam)
    add_subdirectory(${CMAKE_SOURCE_DIR}/${dir} ${CMAKE_BINARY_DIR}/${dir})
  endforeach()
endfunction()
