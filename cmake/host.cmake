# Host side: the portable core and its native tests, then the Windows sub-build and the tests that
# run its programs under Wine.
find_package(GTest REQUIRED)
find_package(Threads REQUIRED)

set(SANITIZE -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
target_compile_options(perchling_portable PUBLIC -Wall -Wextra ${SANITIZE})
target_link_options(perchling_portable PUBLIC ${SANITIZE})

file(GLOB NATIVE_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/native/*.cpp)
add_executable(native_tests ${NATIVE_TEST_SOURCES} ${CMAKE_SOURCE_DIR}/tests/pictures/pictures.cpp)
target_link_libraries(native_tests perchling_portable GTest::gtest_main Threads::Threads)
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

# Every Wine run shares one Xvfb display and one Wine prefix, set up by the fixture below.
set(WINE_SESSION ${CMAKE_SOURCE_DIR}/tests/wine-session.sh)
set(WINE_STATE ${CMAKE_BINARY_DIR}/wine-session)
add_test(NAME wine_session_start COMMAND ${WINE_SESSION} ${WINE_STATE} start)
add_test(NAME wine_session_stop COMMAND ${WINE_SESSION} ${WINE_STATE} stop)
set_tests_properties(wine_session_start PROPERTIES FIXTURES_SETUP wine)
set_tests_properties(wine_session_stop PROPERTIES FIXTURES_CLEANUP wine)

add_test(NAME win32 COMMAND ${WINE_SESSION} ${WINE_STATE} run 600
         ${WINDOWS_BUILD}/perchling_win32_tests.exe)
set_tests_properties(win32 PROPERTIES FIXTURES_REQUIRED wine RESOURCE_LOCK wine_desktop TIMEOUT 700)

file(GLOB E2E_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/e2e/test_*.py)
foreach(test_file ${E2E_TESTS})
  get_filename_component(test_name ${test_file} NAME_WE)
  string(REGEX REPLACE "^test_" "e2e_" test_name ${test_name})
  add_test(NAME ${test_name} COMMAND ${WINE_SESSION} ${WINE_STATE} python 600 ${test_file}
           ${WINDOWS_BUILD})
  set_tests_properties(${test_name} PROPERTIES FIXTURES_REQUIRED wine RESOURCE_LOCK wine_desktop
                       TIMEOUT 700)
endforeach()

# The release zip built again from scratch in another folder must come out byte for byte the same.
add_test(NAME release_reproducible COMMAND python3 ${CMAKE_SOURCE_DIR}/tests/release/reproducible.py
         ${CMAKE_SOURCE_DIR} ${WINDOWS_BUILD} ${CMAKE_BINARY_DIR}/release-again)
set_tests_properties(release_reproducible PROPERTIES TIMEOUT 900)
# The zip builder's argument format and the entry names it refuses.
add_test(NAME release_make_zip COMMAND python3 ${CMAKE_SOURCE_DIR}/tests/release/make_zip_test.py)

# The fuzz targets of the portable core (left out without clang++ and libFuzzer).
include(${CMAKE_SOURCE_DIR}/cmake/fuzz.cmake)

# The program's layers: no circle of modules, and the subsystems use only the bottom of app/.
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
