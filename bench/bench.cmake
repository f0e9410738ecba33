# The benchmarks (Windows programs run by bench/run.sh under Wine; not tests): the region builder
# against the per-run union, the programs that time start-up, the skin switch, idle cost and the
# cost of detailed skins against minimal Win32 programs built the way Perchling.exe is.
add_executable(region_bench ${CMAKE_SOURCE_DIR}/bench/region_bench.cpp)
target_link_libraries(region_bench perchling_region_reference)
target_compile_options(region_bench PRIVATE -O2)
target_link_options(region_bench PRIVATE -static)

add_library(process_watch STATIC ${CMAKE_SOURCE_DIR}/bench/process_watch.cpp)
target_compile_options(process_watch PUBLIC ${WARNINGS} -O2)
target_include_directories(process_watch PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(process_watch PUBLIC user32 gdi32 psapi shell32)

foreach(bench process_bench skin_bench)
  add_executable(${bench} ${CMAKE_SOURCE_DIR}/bench/${bench}.cpp)
  target_link_libraries(${bench} process_watch)
  target_link_options(${bench} PRIVATE -static)
endforeach()
# The checkerboards the skin benchmark measures are the tests' own pictures.
target_sources(skin_bench PRIVATE ${CMAKE_SOURCE_DIR}/tests/pictures/pictures.cpp)

foreach(minimal minimal_window minimal_timer)
  add_executable(${minimal} WIN32 ${CMAKE_SOURCE_DIR}/bench/minimal_window.cpp)
  target_compile_options(${minimal} PRIVATE ${WARNINGS} -Os)
  target_include_directories(${minimal} PRIVATE ${CMAKE_SOURCE_DIR})  # the follow period
  target_link_libraries(${minimal} user32 gdi32)
  target_link_options(${minimal} PRIVATE -static -s -Wl,--gc-sections)
endforeach()
target_compile_definitions(minimal_timer PRIVATE MINIMAL_TIMER)

# One hop of a shaped window, moved each way the platform offers.
add_executable(hop_bench ${CMAKE_SOURCE_DIR}/bench/hop_bench.cpp)
target_link_libraries(hop_bench process_watch perchling_region)
target_link_options(hop_bench PRIVATE -static)

# The skin kit's drop of a large picture against decoding it alone, with the kit's own code and
# build options.
add_executable(kit_bench ${CMAKE_SOURCE_DIR}/bench/kit_bench.cpp
                         ${CMAKE_SOURCE_DIR}/skinkit/picture_files.cpp)
target_link_libraries(kit_bench perchskin_portable perchling_region windowscodecs ole32 uuid gdi32
                      user32 shell32)
target_compile_options(kit_bench PRIVATE ${WARNINGS})
target_link_options(kit_bench PRIVATE -static)
