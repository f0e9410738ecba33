# The release zip, Perchling-<version>-win64.zip, and its SHA256SUMS in release/ of the Windows
# build: one folder Perchling/ to unpack anywhere. Its entries are listed here and nowhere else;
# scripts/make_zip.py writes them so that the same commit always gives the same bytes (and it
# dates them with the last commit, so the zip is written again at every build).
find_package(Python3 COMPONENTS Interpreter)
if(NOT Python3_FOUND)
  message(STATUS "No python3: the release zip is left out")
  return()
endif()

set(RELEASE_NAME Perchling-${PERCHLING_VERSION}-win64)
set(RELEASE_ZIP ${CMAKE_BINARY_DIR}/release/${RELEASE_NAME}.zip)

# The readmes name the version too; it is filled in here.
foreach(readme readme.txt readme_en.txt)
  configure_file(${CMAKE_SOURCE_DIR}/release/${readme} ${CMAKE_BINARY_DIR}/generated/${readme} @ONLY)
endforeach()

# Entries by their name under Perchling/, each followed by its path: --file ships a file as it is,
# --text ships a UTF-8 text file as Shift-JIS with CRLF line ends, --utf8-text as UTF-8 with CRLF
# (the English readme names the Japanese menu items, which no Western code page holds).
set(RELEASE_ENTRIES
  --file Perchling.exe $<TARGET_FILE:Perchling>
  --text readme.txt ${CMAKE_BINARY_DIR}/generated/readme.txt
  --utf8-text readme_en.txt ${CMAKE_BINARY_DIR}/generated/readme_en.txt
  --text LICENSE.txt ${CMAKE_SOURCE_DIR}/LICENSE)
foreach(skin ${SKINS})
  get_filename_component(skin_file ${skin} NAME)
  list(APPEND RELEASE_ENTRIES --file skin/${skin_file} ${skin})
endforeach()
list(APPEND RELEASE_ENTRIES --file perchskin.exe $<TARGET_FILE:perchskin>)

add_custom_target(release_zip ALL
  COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/scripts/make_zip.py
          --out ${RELEASE_ZIP} --sums ${CMAKE_BINARY_DIR}/release/SHA256SUMS
          --top Perchling --source-dir ${CMAKE_SOURCE_DIR} ${RELEASE_ENTRIES}
  BYPRODUCTS ${RELEASE_ZIP} ${CMAKE_BINARY_DIR}/release/SHA256SUMS
  COMMENT "Writing release/${RELEASE_NAME}.zip"
  VERBATIM)
add_dependencies(release_zip Perchling perchskin)
