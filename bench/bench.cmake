# The benchmarks (Windows programs run by bench/run.sh under Wine; not tests): the region builder
# against the per-run union, and the programs that time start-up, the skin switch and idle cost
# against minimal Win32 programs built the way Perchling.exe is.
add_executable(region_bench ${CMAKE_SOURCE_DIR}/bench/region_bench.cpp)
target_link_libraries(region_bench perchling_region_reference perchling_app)
target_compile_options(region_bench PRIVATE -O2)
target_link_options(region_bench PRIVATE -static)

add_executable(process_bench ${CMAKE_SOURCE_DIR}/bench/process_bench.cpp)
target_compile_options(process_bench PRIVATE ${WARNINGS} -O2)
target_link_libraries(process_bench user32 gdi32 psapi)
target_include_directories(process_bench PRIVATE ${CMAKE_SOURCE_DIR})
target_link_options(process_bench PRIVATE -static)

foreach(minimal minimal_window minimal_timer)
  add_executable(${minimal} WIN32 ${CMAKE_SOURCE_DIR}/bench/${minimal}.cpp)
  target_compile_options(${minimal} PRIVATE ${WARNINGS} -Os)
  target_link_libraries(${minimal} user32 gdi32)
  target_link_options(${minimal} PRIVATE -static -s -Wl,--gc-sections)
endforeach()
