# GoogleTest, built for mingw from Debian's sources, and the helpers that register tests.
set(TARNVIEW_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources")

# The tests run in two chains, two at a time: most of the suite's time is end-to-end runs
# waiting on the clock (recordings of set lengths, long exposures). Each chain has a Wine
# prefix of its own (its registered devices, its Documents folder) and, on a private Xvfb,
# a display of its own. Within a chain one test runs at a time: every test ends its
# prefix's Wine server when it ends. The second chain's tests are named here.
set(TARNVIEW_SECOND_CHAIN
  e2e_recording e2e_shell
  vcam_stream_component vcam_filter_component vcam_registry_component vcam_scene_page_component
  winecompat_avimux winecompat_camera_recording winecompat_file_recording winecompat_builder
  avimux_unit ui_dialog_unit snapshot_unit)

# tarnview_test_chain(<test> <a|b>): where the test runs. Its program (a target of that
# name, if there is one) starts under Wine in the chain's prefix.
function(tarnview_test_chain test chain)
  set(prefix ${CMAKE_BINARY_DIR}/wineprefix)
  if(chain STREQUAL "b")
    set(prefix ${CMAKE_BINARY_DIR}/wineprefix-b)
  endif()
  set(environment TARNVIEW_CHAIN=${chain})
  if(TARGET ${test})
    set_target_properties(${test} PROPERTIES
      CROSSCOMPILING_EMULATOR "${CMAKE_SOURCE_DIR}/tools/winerun;${prefix}")
    list(APPEND environment TARNVIEW_END_WINESERVER=1)
  endif()
  set_tests_properties(${test} PROPERTIES
    FIXTURES_REQUIRED wineprefix_${chain}
    RESOURCE_LOCK wineprefix_${chain}
    ENVIRONMENT "${environment}")
endfunction()

# tarnview_add_test(<name> LABEL unit|component|e2e|bench SOURCES ... [LIBS ...] [NO_MAIN])
# One executable, one CTest entry, run under Wine in its chain's prefix.
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
  # One translation unit per test program: the Windows, DirectShow and GoogleTest headers
  # are read once instead of once per file, which halves a clean build.
  set_target_properties(${name} PROPERTIES UNITY_BUILD ON UNITY_BUILD_BATCH_SIZE 0)
  add_test(NAME ${name} COMMAND ${name} --gtest_color=no)
  set_tests_properties(${name} PROPERTIES LABELS "${T_LABEL}" TIMEOUT ${T_TIMEOUT})
  if(name IN_LIST TARNVIEW_SECOND_CHAIN)
    tarnview_test_chain(${name} b)
  else()
    tarnview_test_chain(${name} a)
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

  # Each chain's prefix is made (or refreshed) once before its first test runs.
  add_test(NAME wineprefix_setup
    COMMAND bash ${CMAKE_SOURCE_DIR}/tools/prepare-prefix.sh ${CMAKE_BINARY_DIR})
  add_test(NAME wineprefix_setup_b
    COMMAND bash ${CMAKE_SOURCE_DIR}/tools/prepare-prefix.sh ${CMAKE_BINARY_DIR} wineprefix-b)
  set_tests_properties(wineprefix_setup PROPERTIES
    FIXTURES_SETUP wineprefix_a RESOURCE_LOCK wineprefix_a TIMEOUT 300)
  set_tests_properties(wineprefix_setup_b PROPERTIES
    FIXTURES_SETUP wineprefix_b RESOURCE_LOCK wineprefix_b ENVIRONMENT TARNVIEW_CHAIN=b TIMEOUT 300)

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
