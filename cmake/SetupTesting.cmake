# Test registration: every test carries labels for what it needs (host, wine, scenario, fuzz)
# and for the source folder it covers, so `ctest -L ini` runs one area.

if(WIN32)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  set(SETUP_GTEST_MAIN gtest_main)
elseif(NOT SETUP_FUZZ)
  find_package(GTest REQUIRED)
  set(SETUP_GTEST_MAIN GTest::gtest_main)
endif()
include(GoogleTest)

# Test packages match the build: a 64-bit launcher reads the 64-bit registry view, where only x64
# packages register themselves. Use as: COMMAND ${SETUP_WIXL} ${SETUP_WIXL_ARCH} ...
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(SETUP_WIXL_ARCH -a x64)
  set(SETUP_MSI_TEMPLATE "x64;1033")   # the summary's platform, when msibuild rewrites it
else()
  set(SETUP_WIXL_ARCH -a x86)
  set(SETUP_MSI_TEMPLATE "Intel;1033")
endif()

# setup_host_test(NAME n AREA a SOURCES ...): portable unit tests, built natively.
function(setup_host_test)
  cmake_parse_arguments(T "" "NAME;AREA" "SOURCES;LIBS" ${ARGN})
  if(WIN32 OR SETUP_FUZZ)
    return()
  endif()
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE setup_core ${T_LIBS} ${SETUP_GTEST_MAIN})
  target_compile_definitions(${T_NAME} PRIVATE SETUP_TEST_DATA="${CMAKE_SOURCE_DIR}/tests/data")
  # The area label goes on the folder: a list would not survive gtest_discover_tests' properties.
  set_property(DIRECTORY APPEND PROPERTY LABELS ${T_AREA})
  gtest_discover_tests(${T_NAME} TEST_PREFIX "${T_AREA}." PROPERTIES LABELS host)
endfunction()

# setup_wine_test(NAME n AREA a SOURCES ...): Win32 unit tests run under Wine in the shared prefix.
function(setup_wine_test)
  cmake_parse_arguments(T "" "NAME;AREA" "SOURCES;LIBS" ${ARGN})
  if(NOT WIN32)
    return()
  endif()
  add_executable(${T_NAME} ${T_SOURCES})
  if(SETUP_SCENARIOS_ONLY)
    # Defined for the folder's own settings, neither built nor registered.
    set_target_properties(${T_NAME} PROPERTIES EXCLUDE_FROM_ALL ON)
    return()
  endif()
  target_link_libraries(${T_NAME} PRIVATE setup_core ${T_LIBS} ${SETUP_GTEST_MAIN})
  target_compile_definitions(${T_NAME} PRIVATE SETUP_TEST_DATA="${CMAKE_SOURCE_DIR}/tests/data")
  target_include_directories(${T_NAME} PRIVATE ${CMAKE_SOURCE_DIR}/tests/win32)
  set_property(DIRECTORY APPEND PROPERTY LABELS ${T_AREA})
  gtest_discover_tests(${T_NAME} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120 TEST_PREFIX "${T_AREA}."
    PROPERTIES LABELS wine FIXTURES_REQUIRED wine RESOURCE_LOCK wine_session TIMEOUT 120)
endfunction()

# SETUP_SCENARIOS_ONLY: a list of scenario names; when set, the tree registers only those scenarios
# and no Wine unit tests (a second Windows build that runs a few cases beside the main one).
set(SETUP_SCENARIOS_ONLY "" CACHE STRING "register only these scenarios, and no Wine unit tests")

# setup_scenario_test(NAME n AREA a [WOW64 [ONLY_64BIT_PREFIX]] COMMAND ...): the real Setup.EXE under
# Wine, driven by a script. WOW64: the 32-bit build runs it a second time in a 64-bit prefix, as
# 64-bit Windows runs the shipped program (its own registry view, System32 redirected), labelled
# wow64. ONLY_64BIT_PREFIX: not in a 32-bit prefix.
function(setup_scenario_test)
  cmake_parse_arguments(T "WOW64;ONLY_64BIT_PREFIX" "NAME;AREA" "COMMAND" ${ARGN})
  if(NOT WIN32)
    return()
  endif()
  if(SETUP_SCENARIOS_ONLY AND NOT T_NAME IN_LIST SETUP_SCENARIOS_ONLY)
    return()
  endif()
  set(common "SETUP_BUILD_DIR=${CMAKE_BINARY_DIR};SETUP_SOURCE_DIR=${CMAKE_SOURCE_DIR};SETUP_PROGRAM_ARCH=${SETUP_PROGRAM_ARCH}")
  if(NOT (T_ONLY_64BIT_PREFIX AND SETUP_WINE_ARCH STREQUAL "win32"))
    add_test(NAME scenario.${T_AREA}.${T_NAME} COMMAND ${T_COMMAND})
    set_tests_properties(scenario.${T_AREA}.${T_NAME} PROPERTIES
      LABELS "scenario;${T_AREA}" FIXTURES_REQUIRED wine RESOURCE_LOCK wine_session TIMEOUT 300
      ENVIRONMENT "${common};SETUP_WINE_ROOT=${SETUP_WINE_ROOT};SETUP_WINE_ARCH=${SETUP_WINE_ARCH}")
  endif()
  if(T_WOW64 AND SETUP_PROGRAM_ARCH STREQUAL "win32")
    add_test(NAME wow64.${T_AREA}.${T_NAME} COMMAND ${T_COMMAND})
    set_tests_properties(wow64.${T_AREA}.${T_NAME} PROPERTIES
      LABELS "wow64;scenario;${T_AREA}" FIXTURES_REQUIRED wow64 RESOURCE_LOCK wow64_session TIMEOUT 300
      ENVIRONMENT "${common};SETUP_WINE_ROOT=${SETUP_WOW64_ROOT};SETUP_WINE_ARCH=win64")
  endif()
endfunction()

# setup_fuzz_target(AREA a SOURCES ... [SECONDS s]): libFuzzer target fuzz_<area>, run for a bounded time.
function(setup_fuzz_target)
  cmake_parse_arguments(T "" "AREA;SECONDS" "SOURCES" ${ARGN})
  if(NOT SETUP_FUZZ)
    return()
  endif()
  if(NOT T_SECONDS)
    set(T_SECONDS 60)
  endif()
  set(name fuzz_${T_AREA})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE setup_core)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
  set(seeds ${CMAKE_SOURCE_DIR}/tests/fuzz/${T_AREA}/corpus)
  set(work ${CMAKE_BINARY_DIR}/fuzz-corpus/${T_AREA})
  add_test(NAME ${name} COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=1
    sh -c "mkdir -p '${work}' && exec '$<TARGET_FILE:${name}>' -max_total_time=${T_SECONDS} -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 '${work}' '${seeds}'")
  set_tests_properties(${name} PROPERTIES LABELS "fuzz;${T_AREA}" TIMEOUT 600)
endfunction()
