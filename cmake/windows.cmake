# Windows side: Perchling.exe, its install folder dist/, and the Win32 test programs.
set(WARNINGS -Wall -Wextra)
# Sources are UTF-8; the program's strings are Shift-JIS (code page 932).
set(CHARSET -finput-charset=UTF-8 -fexec-charset=CP932)
if(MSVC)
  set(WARNINGS /W4)
  set(CHARSET /source-charset:utf-8 /execution-charset:.932)
endif()
enable_language(RC)
if(MINGW)
  # No link time in the PE header: the same sources always link to the same bytes.
  add_link_options(-Wl,--no-insert-timestamp)
endif()

# The version reaches the resource script through a generated header.
string(REGEX MATCH "^([0-9]+)\\.([0-9]+)$" version_parts "${PERCHLING_VERSION}")
if(NOT version_parts)
  message(FATAL_ERROR "PERCHLING_VERSION must be MAJOR.MINOR, not '${PERCHLING_VERSION}'")
endif()
math(EXPR PERCHLING_VERSION_MAJOR "${CMAKE_MATCH_1}")
math(EXPR PERCHLING_VERSION_MINOR "${CMAKE_MATCH_2}")
configure_file(${CMAKE_SOURCE_DIR}/res/version.h.in ${CMAKE_BINARY_DIR}/generated/version.h @ONLY)

# Every Windows target that builds on the program's libraries compiles as they do: warnings, the
# strings' code page, Windows 7's API and the generated version header.
target_include_directories(perchling_portable PUBLIC ${CMAKE_BINARY_DIR}/generated)
target_compile_options(perchling_portable PUBLIC ${WARNINGS} ${CHARSET})
target_compile_definitions(perchling_portable PUBLIC WINVER=0x0601 _WIN32_WINNT=0x0601)

add_library(perchling_names STATIC ${NAMES_SOURCES})
target_link_libraries(perchling_names PUBLIC perchling_portable)

add_library(perchling_region STATIC ${REGION_SOURCES})
target_link_libraries(perchling_region PUBLIC perchling_portable gdi32)

add_library(perchling_accessory STATIC ${ACCESSORY_SOURCES})
target_link_libraries(perchling_accessory
  PUBLIC perchling_region perchling_names shell32 ole32 uuid gdi32 user32)

add_library(perchling_region_reference STATIC ${REGION_REFERENCE_SOURCES})
target_link_libraries(perchling_region_reference PUBLIC perchling_region)

# The script pulls in its headers and both pictures; a change to any of them rebuilds the .res.
set_source_files_properties(${RESOURCES} PROPERTIES OBJECT_DEPENDS
  "${CMAKE_SOURCE_DIR}/res/resource.h;${CMAKE_SOURCE_DIR}/res/texts.h;${CMAKE_SOURCE_DIR}/res/perchling.ico;${CMAKE_SOURCE_DIR}/res/link.cur;${CMAKE_BINARY_DIR}/generated/version.h")

add_executable(Perchling WIN32 ${PERCHLING_SOURCES})
target_link_libraries(Perchling perchling_accessory)

# perchskin.exe, the skin kit: a console program on Perchling's portable core and region builder
# (the run scan and the skin-name rules are Perchling's own, never copied). Its texts are UTF-8
# inside, so that a report holds any file name whole; they go out wide or in the code page the
# output needs. A source's options follow the target's, so this one is the one in force.
set(KIT_CHARSET -fexec-charset=UTF-8)
if(MSVC)
  set(KIT_CHARSET /execution-charset:utf-8)
endif()
set_source_files_properties(${KIT_PORTABLE_SOURCES} ${PERCHSKIN_SOURCES} PROPERTIES
                            COMPILE_OPTIONS "${KIT_CHARSET}")
add_executable(perchskin ${PERCHSKIN_SOURCES})
target_link_libraries(perchskin perchskin_portable
  perchling_region perchling_names windowscodecs ole32 uuid gdi32 user32 shell32)

if(MINGW)
  # The programs' code is made small, without the C++ runtime's exception tables; each program is
  # one stripped file that needs no MinGW DLLs. A function-local static with a run-time value
  # would bring the runtime's thread-safe guard, and with it its exception, terminate and
  # demangler code (about 90 KB): without the guard, such a static is only a plain one. The
  # system's own printf family (msvcrt) formats the kit's texts: MinGW's own, with its floating
  # point, would add about 24 KB, and no text of either program prints a floating-point number.
  foreach(program_code
      perchling_portable perchskin_portable perchling_names perchling_region perchling_accessory
      perchskin)
    target_compile_options(${program_code} PRIVATE -Os -fno-exceptions -fno-rtti
                           -fno-threadsafe-statics)
    target_compile_definitions(${program_code} PRIVATE __USE_MINGW_ANSI_STDIO=0)
  endforeach()
  target_link_options(Perchling PRIVATE -static -s -Wl,--gc-sections)
  target_link_options(perchskin PRIVATE -static -s -Wl,--gc-sections)
endif()

# The install folder: the program and its skins; setting.ini is written by the program.
set(DIST ${CMAKE_BINARY_DIR}/dist)
file(GLOB SKINS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/skin/*.bmp)
add_custom_command(TARGET Perchling POST_BUILD
  COMMAND ${CMAKE_COMMAND} -E make_directory ${DIST}/skin
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:Perchling> ${DIST}/
  COMMAND ${CMAKE_COMMAND} -E copy ${SKINS} ${DIST}/skin/
  VERBATIM)


if(MINGW)
  include(${CMAKE_SOURCE_DIR}/bench/bench.cmake)
endif()
include(${CMAKE_SOURCE_DIR}/cmake/package.cmake)
# Cross-built on the host, the Win32 tests are always built: without GoogleTest's sources they
# would silently vanish from the suite, so configuring stops instead.
set(GOOGLETEST_SOURCES /usr/src/googletest CACHE PATH "GoogleTest's sources, for the Win32 tests")
if(CMAKE_CROSSCOMPILING AND NOT EXISTS ${GOOGLETEST_SOURCES}/CMakeLists.txt)
  message(FATAL_ERROR "GoogleTest's sources are not in ${GOOGLETEST_SOURCES}, so the Win32 tests "
                      "cannot be built (scripts/install-deps.sh installs the googletest package)")
endif()
if(MINGW AND EXISTS ${GOOGLETEST_SOURCES}/CMakeLists.txt)
  include(${CMAKE_SOURCE_DIR}/tests/win32/tests.cmake)
endif()
