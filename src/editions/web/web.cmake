# The browser edition: the demo compiled to WebAssembly (kelvorin.js, kelvorin.wasm), its page
# (page/: index.html, kelvorin.css, the ES modules page.js, player.js, state.js and sound.js,
# the Web Audio half of the sound backend), the timeline's chapters (timeline.json, from the
# native build) and the demo's data packed for the web, all in the build folder, which is the site:
# serve it as it is. Configured with emcmake (script/web).
#
# Sources: the portable demo (PORTABLE_SOURCES), the GL layer over WebGL 2
# (GLES_LAYER_SOURCES), this folder's backends and main.cpp, the page's entry points; nothing
# of SDL or EGL, no tests or tools.
# The data come from the native build, which generates them: the 23 pictures as they are, and
# the music as MP3, which every current desktop browser decodes.

# The page is sent over the network: optimised, without debugging information.
set(CMAKE_CXX_FLAGS_RELWITHDEBINFO "-O2 -DNDEBUG")
# Emscripten's optimiser runs on Node and needs Debian's acorn module (node-acorn).
set(CMAKE_CXX_LINKER_LAUNCHER ${CMAKE_COMMAND} -E env NODE_PATH=/usr/share/nodejs)

edition_sources(web WEB_SOURCES)
add_executable(kelvorin ${PORTABLE_SOURCES} ${GLES_LAYER_SOURCES} ${WEB_SOURCES}
  ${CMAKE_CURRENT_LIST_DIR}/main.cpp)
set_target_properties(kelvorin PROPERTIES SUFFIX ".js")
# Our GL 1.1 headers come before the system's, so that the scenes draw through our layer.
target_include_directories(kelvorin BEFORE PRIVATE ${CMAKE_SOURCE_DIR}/src/gles/include)
target_include_directories(kelvorin PRIVATE ${CMAKE_SOURCE_DIR}/src)
target_link_options(kelvorin PRIVATE
  -sMODULARIZE=1 -sEXPORT_NAME=createKelvorin -sENVIRONMENT=web
  -sMIN_WEBGL_VERSION=2 -sMAX_WEBGL_VERSION=2
  -sALLOW_MEMORY_GROWTH=1 -sFORCE_FILESYSTEM=1 -sEXPORTED_RUNTIME_METHODS=FS)
# The page's security policy lets no script text become code (no eval, no new Function), only
# WebAssembly's compilation: Emscripten guarantees its JavaScript needs neither, or the link
# fails.
target_link_options(kelvorin PRIVATE -sDYNAMIC_EXECUTION=0)

# The page.
file(GLOB PAGE_FILES CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/page/*)
set(PAGE_NAMES)
foreach(file ${PAGE_FILES})
  get_filename_component(name ${file} NAME)
  configure_file(${file} ${CMAKE_BINARY_DIR}/${name} COPYONLY)
  list(APPEND PAGE_NAMES ${name})
endforeach()

# The data, from the native build's Data/ (script/setup makes it).
set(KELVORIN_NATIVE_BUILD ${CMAKE_SOURCE_DIR}/build CACHE PATH "The native build whose Data/ the page gets")
set(NATIVE_DATA ${KELVORIN_NATIVE_BUILD}/Data)
file(GLOB NATIVE_PICTURES CONFIGURE_DEPENDS ${NATIVE_DATA}/*.bmp)
if(NOT NATIVE_PICTURES OR NOT EXISTS ${NATIVE_DATA}/kelvorin.wav OR NOT EXISTS ${KELVORIN_NATIVE_BUILD}/timeline.json)
  message(FATAL_ERROR "No generated data in ${NATIVE_DATA}: build the native program first (script/setup)")
endif()
set(WEB_DATA ${CMAKE_BINARY_DIR}/Data)
set(WEB_FILES)
foreach(picture ${NATIVE_PICTURES})
  get_filename_component(name ${picture} NAME)
  add_custom_command(OUTPUT ${WEB_DATA}/${name}
    COMMAND ${CMAKE_COMMAND} -E copy ${picture} ${WEB_DATA}/${name}
    DEPENDS ${picture})
  list(APPEND WEB_FILES Data/${name})
endforeach()
# LAME's VBR quality 1 (about 220 kbit/s), a level listeners do not tell from the source; the
# whole page stays under 8 MB as a server sends it.
add_custom_command(OUTPUT ${WEB_DATA}/kelvorin.mp3
  COMMAND ffmpeg -nostdin -loglevel error -y -i ${NATIVE_DATA}/kelvorin.wav
          -codec:a libmp3lame -q:a 1 ${WEB_DATA}/kelvorin.part.mp3
  COMMAND ${CMAKE_COMMAND} -E rename ${WEB_DATA}/kelvorin.part.mp3 ${WEB_DATA}/kelvorin.mp3
  DEPENDS ${NATIVE_DATA}/kelvorin.wav
  COMMENT "Encoding the music for the web")
file(WRITE ${WEB_DATA}/Sons_WAV.txt "Data/kelvorin.mp3\n")
list(APPEND WEB_FILES Data/Sons_WAV.txt Data/kelvorin.mp3)
# What the page downloads into the demo's file system (the music it decodes itself).
string(REPLACE ";" "\", \"" quoted "${WEB_FILES}")
file(WRITE ${CMAKE_BINARY_DIR}/files.json "[\"${quoted}\"]\n")
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/kelvorin.png
  COMMAND ${CMAKE_COMMAND} -E copy ${KELVORIN_NATIVE_BUILD}/kelvorin.png ${CMAKE_BINARY_DIR}/kelvorin.png
  DEPENDS ${KELVORIN_NATIVE_BUILD}/kelvorin.png)
# The demo's length and chapters, which the native build got from running the timeline.
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/timeline.json
  COMMAND ${CMAKE_COMMAND} -E copy ${KELVORIN_NATIVE_BUILD}/timeline.json ${CMAKE_BINARY_DIR}/timeline.json
  DEPENDS ${KELVORIN_NATIVE_BUILD}/timeline.json)
set(DATA_NAMES ${WEB_FILES})
list(TRANSFORM WEB_FILES PREPEND ${CMAKE_BINARY_DIR}/)
add_custom_target(web-data ALL DEPENDS ${WEB_FILES} ${CMAKE_BINARY_DIR}/kelvorin.png
  ${CMAKE_BINARY_DIR}/timeline.json)

# The site alone, none of CMake's files, as one zip for any web server: kelvorin-web.zip, the
# same files giving the same bytes (dist/zip.py). The browser tests run on it unpacked, and
# script/release packs it again, dated by the last commit. A file added to the site above must
# be named here too.
set(SITE_NAMES kelvorin.js kelvorin.wasm files.json timeline.json kelvorin.png ${PAGE_NAMES}
  ${DATA_NAMES})
set(SITE_FILES ${SITE_NAMES})
list(TRANSFORM SITE_FILES PREPEND ${CMAKE_BINARY_DIR}/)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/kelvorin-web.zip
  COMMAND /usr/bin/python3 ${CMAKE_SOURCE_DIR}/dist/zip.py ${CMAKE_BINARY_DIR}/kelvorin-web.zip
          ${CMAKE_BINARY_DIR} ${SITE_NAMES}
  DEPENDS kelvorin ${SITE_FILES} ${CMAKE_SOURCE_DIR}/dist/zip.py
  COMMENT "Packing kelvorin-web.zip")
add_custom_target(web-zip ALL DEPENDS ${CMAKE_BINARY_DIR}/kelvorin-web.zip)

# The browser tests, run by ctest in this build (script/test runs them).
enable_testing()
include(${CMAKE_SOURCE_DIR}/tests/web/web.cmake)
