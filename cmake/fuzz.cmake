# libFuzzer targets for the portable core and the kit's, built with clang++ under
# AddressSanitizer and UndefinedBehaviorSanitizer. ctest runs each for a few seconds on its
# committed corpus (new inputs go to the build folder, never into the corpus);
# scripts/fuzz-long.sh runs them for long.
# Without a clang++ that links -fsanitize=fuzzer the targets are left out, with a note. The clang
# installed is used, whatever its version.
find_program(FUZZ_CXX NAMES clang++)
set(FUZZ_FLAGS -std=c++17 -g -O1 -Wall -Wextra -fsanitize=fuzzer,address,undefined
               -fno-sanitize-recover=all -I${CMAKE_SOURCE_DIR})
set(FUZZ_WORK ${CMAKE_BINARY_DIR}/fuzz)
set(FUZZ_USABLE OFF)
if(FUZZ_CXX)
  file(WRITE ${FUZZ_WORK}/probe.cpp
       "#include <stddef.h>\n#include <stdint.h>\n"
       "extern \"C\" int LLVMFuzzerTestOneInput(const uint8_t*, size_t) { return 0; }\n")
  execute_process(COMMAND ${FUZZ_CXX} -fsanitize=fuzzer,address,undefined ${FUZZ_WORK}/probe.cpp
                          -o ${FUZZ_WORK}/probe
                  RESULT_VARIABLE FUZZ_PROBE_RESULT OUTPUT_QUIET ERROR_QUIET)
  if(FUZZ_PROBE_RESULT EQUAL 0)
    set(FUZZ_USABLE ON)
  endif()
endif()
if(NOT FUZZ_USABLE)
  message(STATUS "No clang++ with libFuzzer: the fuzz tests are left out "
                 "(scripts/install-deps.sh installs clang and libclang-rt-dev)")
  return()
endif()

set(FUZZ_SECONDS 3 CACHE STRING "How long ctest runs each fuzz target")
file(GLOB FUZZ_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/fuzz/fuzz_*.cpp)
set(FUZZ_TARGETS)
foreach(fuzz_source ${FUZZ_SOURCES})
  get_filename_component(fuzz_name ${fuzz_source} NAME_WE)
  set(fuzz_binary ${FUZZ_WORK}/${fuzz_name})
  add_custom_command(OUTPUT ${fuzz_binary}
    COMMAND ${FUZZ_CXX} ${FUZZ_FLAGS} ${fuzz_source} ${PORTABLE_SOURCES} ${KIT_PORTABLE_SOURCES} -o ${fuzz_binary}
    DEPENDS ${fuzz_source} ${PORTABLE_SOURCES} ${KIT_PORTABLE_SOURCES}
    WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}
    COMMENT "Building fuzz target ${fuzz_name}"
    VERBATIM)
  list(APPEND FUZZ_TARGETS ${fuzz_binary})
  string(REGEX REPLACE "^fuzz_" "" corpus ${fuzz_name})
  add_test(NAME fuzz_${corpus}
    COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=1
            ${fuzz_binary} -max_total_time=${FUZZ_SECONDS} -print_final_stats=1
            -artifact_prefix=${FUZZ_WORK}/${corpus}- ${FUZZ_WORK}/new-${corpus}
            ${CMAKE_SOURCE_DIR}/tests/fuzz/corpus/${corpus})
  file(MAKE_DIRECTORY ${FUZZ_WORK}/new-${corpus})
  set_tests_properties(fuzz_${corpus} PROPERTIES TIMEOUT 120)
endforeach()
add_custom_target(fuzzers ALL DEPENDS ${FUZZ_TARGETS})
