# Host side: the portable core and its native tests, then the Windows sub-build and the tests that
# run its programs under Wine.
find_package(GTest REQUIRED)
find_package(Threads REQUIRED)

set(SANITIZE -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
target_compile_options(perchling_portable PUBLIC -Wall -Wextra ${SANITIZE})
target_link_options(perchling_portable PUBLIC ${SANITIZE})

file(GLOB NATIVE_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/native/*.cpp)
add_executable(native_tests ${NATIVE_TEST_SOURCES} ${CMAKE_SOURCE_DIR}/tests/pictures/pictures.cpp)
target_link_libraries(native_tests perchskin_portable GTest::gtest_main Threads::Threads)
add_test(NAME native COMMAND native_tests)

# The Windows sub-build, configured with the MinGW toolchain and rebuilt on every build.
include(ExternalProject)
set(WINDOWS_BUILD ${CMAKE_BINARY_DIR}/windows)
ExternalProject_Add(windows
  SOURCE_DIR ${CMAKE_SOURCE_DIR}
  BINARY_DIR ${WINDOWS_BUILD}
  CMAKE_ARGS -DCMAKE_TOOLCHAIN_FILE=${CMAKE_SOURCE_DIR}/cmake/mingw-w64-x86_64.cmake
             -DCMAKE_BUILD_TYPE=${CMAKE_BUILD_TYPE}
  INSTALL_COMMAND ""
  BUILD_ALWAYS ON
  USES_TERMINAL_BUILD ON)

# The tests that run Windows programs, under two Wines: the host's Wine 8 and Debian 13's Wine 10
# in the userland tests/wine10-userland.sh makes (tests named "wine10_..."). Under each, every run
# shares one Xvfb display and one Wine prefix, set up by that Wine's pair of fixtures, and the same
# deadlines; the two sessions share nothing, so a test of each may run at once.
set(WINE_SESSION ${CMAKE_SOURCE_DIR}/tests/wine-session.sh)
file(GLOB E2E_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/e2e/test_*.py)
# The end-to-end scripts find the Windows build and tools/ through the environment; a further
# argument adds to it.
function(add_wine_tests wine test_prefix)
  set(environment PERCHLING_WINDOWS_BUILD=${WINDOWS_BUILD} PYTHONPATH=${CMAKE_SOURCE_DIR}/tools
      ${ARGN})
  set(state ${CMAKE_BINARY_DIR}/${wine}-session)
  add_test(NAME ${wine}_session_start COMMAND ${WINE_SESSION} ${state} start)
  add_test(NAME ${wine}_session_stop COMMAND ${WINE_SESSION} ${state} stop)
  # The first start of the Wine 10 session makes its userland: minutes, more on a busy machine.
  set_tests_properties(${wine}_session_start PROPERTIES FIXTURES_SETUP ${wine} TIMEOUT 1500)
  set_tests_properties(${wine}_session_stop PROPERTIES FIXTURES_CLEANUP ${wine})
  set(tests ${wine}_session_start ${wine}_session_stop)

  add_test(NAME ${test_prefix}win32 COMMAND ${WINE_SESSION} ${state} run 600
           ${WINDOWS_BUILD}/perchling_win32_tests.exe)
  list(APPEND tests ${test_prefix}win32)
  foreach(test_file ${E2E_TESTS})
    get_filename_component(test_name ${test_file} NAME_WE)
    string(REGEX REPLACE "^test_" "${test_prefix}e2e_" test_name ${test_name})
    add_test(NAME ${test_name} COMMAND ${WINE_SESSION} ${state} python 600 ${test_file})
    list(APPEND tests ${test_name})
  endforeach()
  list(FILTER tests EXCLUDE REGEX "_session_")
  set_tests_properties(${tests} PROPERTIES FIXTURES_REQUIRED ${wine}
                       RESOURCE_LOCK ${wine}_desktop TIMEOUT 700)
  set_tests_properties(${wine}_session_start ${wine}_session_stop ${tests} PROPERTIES
                       ENVIRONMENT "${environment}")
endfunction()
add_wine_tests(wine "")
add_wine_tests(wine10 wine10_ PERCHLING_WINE_USERLAND=${CMAKE_BINARY_DIR}/wine10-root)

# The release zip built again from scratch in another folder must come out byte for byte the same.
add_test(NAME release_reproducible COMMAND python3 ${CMAKE_SOURCE_DIR}/tests/release/reproducible.py
         ${CMAKE_SOURCE_DIR} ${WINDOWS_BUILD} ${CMAKE_BINARY_DIR}/release-again)
set_tests_properties(release_reproducible PROPERTIES TIMEOUT 900)
# The zip builder's argument format and the entry names it refuses.
add_test(NAME release_make_zip COMMAND python3 ${CMAKE_SOURCE_DIR}/tests/release/make_zip_test.py)

# The fuzz targets of the portable core (left out without clang++ and libFuzzer).
include(${CMAKE_SOURCE_DIR}/cmake/fuzz.cmake)

# The session script stops only the Xvfb it started, never a process that took over its pid.
add_test(NAME wine_env_stop_xvfb COMMAND bash ${CMAKE_SOURCE_DIR}/tests/wine-env-test.sh)

# The program's layers: no circle of modules or folders, each folder on the layers below it.
add_test(NAME layers COMMAND python3 ${CMAKE_SOURCE_DIR}/tests/layers.py)

# Static analysis of the whole source; every suppression carries its reason in the list.
find_program(CPPCHECK cppcheck)
if(CPPCHECK)
  add_test(NAME cppcheck COMMAND ${CPPCHECK} --quiet --error-exitcode=1 --std=c++17
           --enable=warning,style,performance,portability --library=windows --inline-suppr
           --suppressions-list=${CMAKE_SOURCE_DIR}/tests/cppcheck-suppressions.txt
           -I${CMAKE_SOURCE_DIR} -j2 base app shape skins shell about skinkit tests
           WORKING_DIRECTORY ${CMAKE_SOURCE_DIR})
else()
  message(STATUS "No cppcheck: the static analysis test is left out")
endif()
