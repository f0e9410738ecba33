# The Win32 tests (in-process, GoogleTest built from Debian's sources) and the small Windows
# programs the end-to-end tests drive Perchling with.
set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(${GOOGLETEST_SOURCES} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

file(GLOB WIN32_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/win32/*.cpp)
add_executable(perchling_win32_tests ${WIN32_TEST_SOURCES} ${CMAKE_SOURCE_DIR}/tests/pictures/pictures.cpp
               ${RESOURCES})
target_link_libraries(perchling_win32_tests perchling_region_reference perchling_accessory gtest
                      version ntdll)
target_link_options(perchling_win32_tests PRIVATE -static)
# The region tests load the shipped skins from the source tree.
target_compile_definitions(perchling_win32_tests PRIVATE PERCHLING_SOURCE_DIR="${CMAKE_SOURCE_DIR}")

file(GLOB E2E_TOOL_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/e2e/*.cpp)
foreach(tool_source ${E2E_TOOL_SOURCES})
  get_filename_component(tool ${tool_source} NAME_WE)
  add_executable(${tool} ${tool_source})
  target_compile_options(${tool} PRIVATE ${WARNINGS} ${CHARSET})
  target_include_directories(${tool} PRIVATE ${CMAKE_SOURCE_DIR})  # the program's names for things
  target_link_libraries(${tool} gdi32 user32 shell32 ole32 uuid)
  target_link_options(${tool} PRIVATE -static)
endforeach()
