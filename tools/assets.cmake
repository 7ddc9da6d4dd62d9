# The demo's own pictures and music, generated at build time into build/Data/ by the programs of
# tools/art/ and tools/music/, and the desktop icon, build/kelvorin.png.
set(DATA_DIR ${CMAKE_BINARY_DIR}/Data)
set(DATA_OUTPUTS)
set(ICON_FILE ${CMAKE_BINARY_DIR}/kelvorin.png)

if(EXISTS ${CMAKE_SOURCE_DIR}/tools/art/main.cpp)
  file(GLOB ART_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tools/art/*.cpp)
  add_executable(kelvorin-gentextures ${ART_SOURCES})
  target_include_directories(kelvorin-gentextures PRIVATE ${CMAKE_SOURCE_DIR}/tools
    ${CMAKE_SOURCE_DIR}/src /usr/include/stb)
  target_link_libraries(kelvorin-gentextures PRIVATE kelvorin_png)
  # The pictures' names, from the texture table's list (each entry X(TEX_..., name)).
  set(TEXTURE_LIST ${CMAKE_SOURCE_DIR}/src/assets/textures.h)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${TEXTURE_LIST})
  file(READ ${TEXTURE_LIST} text)
  string(REGEX MATCHALL "X\\(TEX_[A-Z0-9]+, *[a-z0-9]+\\)" entries "${text}")
  set(TEXTURE_NAMES)
  foreach(entry ${entries})
    string(REGEX REPLACE ".*, *([a-z0-9]+)\\)" "\\1" name "${entry}")
    list(APPEND TEXTURE_NAMES ${name})
  endforeach()
  set(TEXTURE_FILES)
  foreach(n ${TEXTURE_NAMES})
    list(APPEND TEXTURE_FILES ${DATA_DIR}/${n}.bmp)
  endforeach()
  add_custom_command(OUTPUT ${TEXTURE_FILES}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${DATA_DIR}
    COMMAND kelvorin-gentextures ${DATA_DIR}
    DEPENDS kelvorin-gentextures
    COMMENT "Generating the 23 pictures")
  list(APPEND DATA_OUTPUTS ${TEXTURE_FILES})
  # The credits for the browser's media controls, as the pictures show them.
  add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/credits.json
    COMMAND kelvorin-gentextures --credits > ${CMAKE_BINARY_DIR}/credits.json
    DEPENDS kelvorin-gentextures)
  list(APPEND DATA_OUTPUTS ${CMAKE_BINARY_DIR}/credits.json)
  add_custom_command(OUTPUT ${ICON_FILE}
    COMMAND kelvorin-gentextures --icon ${ICON_FILE}
    DEPENDS kelvorin-gentextures
    COMMENT "Drawing the icon")
endif()

if(EXISTS ${CMAKE_SOURCE_DIR}/tools/music/main.cpp)
  file(GLOB MUSIC_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tools/music/*.cpp)
  add_executable(kelvorin-genmusic ${MUSIC_SOURCES})
  target_include_directories(kelvorin-genmusic PRIVATE ${CMAKE_SOURCE_DIR}/tools ${CMAKE_SOURCE_DIR}/src)
  # The same track from g++ and clang++, whatever the target: no fused multiply-adds (g++ fuses
  # across statements, clang++ within one, wherever the CPU has FMA), and pow(2, x) stays pow
  # (clang++ turns it into exp2, which glibc rounds differently for some pitches).
  target_compile_options(kelvorin-genmusic PRIVATE -ffp-contract=off -fno-builtin-pow)
  add_custom_command(OUTPUT ${DATA_DIR}/kelvorin.wav ${DATA_DIR}/Sons_WAV.txt
    COMMAND ${CMAKE_COMMAND} -E make_directory ${DATA_DIR}
    COMMAND kelvorin-genmusic ${DATA_DIR}
    DEPENDS kelvorin-genmusic
    COMMENT "Synthesising the music")
  list(APPEND DATA_OUTPUTS ${DATA_DIR}/kelvorin.wav ${DATA_DIR}/Sons_WAV.txt)
endif()

add_custom_target(data ALL DEPENDS ${DATA_OUTPUTS} ${ICON_FILE})
