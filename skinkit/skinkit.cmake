# perchskin.exe, the skin kit: a console program sharing Perchling's portable core (the run scan
# and the skin-name rules come from perchling_app, never copied). Static like Perchling.exe.
file(GLOB SKINKIT_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/skinkit/*.cpp)
add_executable(perchskin ${SKINKIT_SOURCES})
target_compile_options(perchskin PRIVATE ${WARNINGS} ${CHARSET})
target_link_libraries(perchskin perchling_app windowscodecs ole32 uuid gdi32 user32 shell32)
if(MINGW)
  target_compile_options(perchskin PRIVATE -Os -fno-exceptions -fno-rtti)
  target_link_options(perchskin PRIVATE -static -s -Wl,--gc-sections)
endif()
