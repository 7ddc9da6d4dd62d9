# The browser edition: the demo compiled to WebAssembly (kelvorin.js, kelvorin.wasm), the art
# generator for the page's workers (art.js, art.wasm, tools/art/web/), its page (page/:
# index.html, kelvorin.css, the ES modules, sound.js being the Web Audio half of the sound
# backend, the picture worker, the service worker and the web app manifest), the timeline's
# chapters (timeline.json, from the native build) and the music for the web; then the site made
# of them, site/, each file named by its content (site.py): serve it as it is. Configured with
# emcmake (script/web).
#
# Sources: the portable demo (PORTABLE_SOURCES), the GL layer over WebGL 2
# (GLES_LAYER_SOURCES), this folder's backends and main.cpp, the page's entry points; nothing
# of SDL or EGL, no tests or tools. The pictures are not downloaded: the page draws them.

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

# The art generator for the page's picture workers (art.js, art.wasm).
include(${CMAKE_SOURCE_DIR}/tools/art/web/art.cmake)

# The page's files, as they are; site.py names them by their content on the site.
file(GLOB PAGE_FILES CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/page/*)
set(PAGE_NAMES)
foreach(file ${PAGE_FILES})
  get_filename_component(name ${file} NAME)
  configure_file(${file} ${CMAKE_BINARY_DIR}/${name} COPYONLY)
  list(APPEND PAGE_NAMES ${name})
endforeach()

# From the native build (script/setup makes it): the music, the icon, the timeline, the credits.
set(KELVORIN_NATIVE_BUILD ${CMAKE_SOURCE_DIR}/build CACHE PATH "The native build whose music, icon, timeline and credits the page gets")
foreach(needed Data/kelvorin.wav kelvorin.png timeline.json credits.json)
  if(NOT EXISTS ${KELVORIN_NATIVE_BUILD}/${needed})
    message(FATAL_ERROR "No ${needed} in ${KELVORIN_NATIVE_BUILD}: build the native program first (script/setup)")
  endif()
endforeach()
set(WEB_FILES)

# The music as MP3, which every current browser streams and decodes: LAME's VBR quality 1
# (about 220 kbit/s), a level listeners do not tell from the source. The sound list names it.
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/Data/kelvorin.mp3
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/Data
  COMMAND ffmpeg -nostdin -loglevel error -y -i ${KELVORIN_NATIVE_BUILD}/Data/kelvorin.wav
          -codec:a libmp3lame -q:a 1 ${CMAKE_BINARY_DIR}/Data/kelvorin.part.mp3
  COMMAND ${CMAKE_COMMAND} -E rename ${CMAKE_BINARY_DIR}/Data/kelvorin.part.mp3 ${CMAKE_BINARY_DIR}/Data/kelvorin.mp3
  DEPENDS ${KELVORIN_NATIVE_BUILD}/Data/kelvorin.wav
  COMMENT "Encoding the music for the web")
file(WRITE ${CMAKE_BINARY_DIR}/Data/Sons_WAV.txt "Data/kelvorin.mp3\n")
list(APPEND WEB_FILES Data/Sons_WAV.txt Data/kelvorin.mp3)

# The fonts of the pictures' lettering, cut down to the printable ASCII that it uses (a
# twentieth of the whole fonts); the generator draws the same pixels with them (the browser
# tests compare its pictures with build/Data/'s).
foreach(font DejaVuSans-Bold DejaVuSans)
  add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/fonts/${font}.ttf
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/fonts
    COMMAND pyftsubset /usr/share/fonts/truetype/dejavu/${font}.ttf --unicodes=U+0020-007E
            --no-hinting --output-file=${CMAKE_BINARY_DIR}/fonts/${font}.ttf
    DEPENDS /usr/share/fonts/truetype/dejavu/${font}.ttf
    COMMENT "Cutting ${font} down to what the lettering uses")
  list(APPEND WEB_FILES fonts/${font}.ttf)
endforeach()

# The icon in the sizes that the manifest and the phones' home screens ask for (180: Safari's
# Add to Home Screen).
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/kelvorin.png
  COMMAND ${CMAKE_COMMAND} -E copy ${KELVORIN_NATIVE_BUILD}/kelvorin.png ${CMAKE_BINARY_DIR}/kelvorin.png
  DEPENDS ${KELVORIN_NATIVE_BUILD}/kelvorin.png)
list(APPEND WEB_FILES kelvorin.png)
foreach(size 180 192 512)
  add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/kelvorin-${size}.png
    COMMAND convert ${KELVORIN_NATIVE_BUILD}/kelvorin.png -filter Lanczos -resize ${size}x${size}
            -strip -define png:exclude-chunks=date,time ${CMAKE_BINARY_DIR}/kelvorin-${size}.png
    DEPENDS ${KELVORIN_NATIVE_BUILD}/kelvorin.png)
  list(APPEND WEB_FILES kelvorin-${size}.png)
endforeach()

# The demo's length and chapters, which the native build got from running the timeline, and the
# credits that its pictures show, for the media controls.
foreach(fact timeline.json credits.json)
  add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/${fact}
    COMMAND ${CMAKE_COMMAND} -E copy ${KELVORIN_NATIVE_BUILD}/${fact} ${CMAKE_BINARY_DIR}/${fact}
    DEPENDS ${KELVORIN_NATIVE_BUILD}/${fact})
  list(APPEND WEB_FILES ${fact})
endforeach()

# The site, site/: every file named by its content but index.html and sw.js (site.py), and the
# same site as one zip for any web server, kelvorin-web.zip, the same files giving the same
# bytes (dist/zip.py). script/web serves site/; the browser tests run on the zip unpacked, and
# script/release packs it again, dated by the last commit. A file added to the site above goes
# into SITE_NAMES.
set(SITE_NAMES kelvorin.js kelvorin.wasm art.js art.wasm ${PAGE_NAMES} ${WEB_FILES})
set(SITE_FILES ${SITE_NAMES})
list(TRANSFORM SITE_FILES PREPEND ${CMAKE_BINARY_DIR}/)
set(SITE ${CMAKE_BINARY_DIR}/site)
add_custom_command(OUTPUT ${SITE}/index.html ${SITE}/sw.js
  COMMAND /usr/bin/python3 ${CMAKE_CURRENT_LIST_DIR}/site.py ${SITE} ${KELVORIN_VERSION}
          ${CMAKE_BINARY_DIR} ${SITE_NAMES}
  DEPENDS kelvorin art ${SITE_FILES} ${CMAKE_CURRENT_LIST_DIR}/site.py
  COMMENT "Naming the site's files by their content")
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/kelvorin-web.zip
  COMMAND /usr/bin/python3 ${CMAKE_SOURCE_DIR}/dist/zip.py ${CMAKE_BINARY_DIR}/kelvorin-web.zip
          ${SITE} .
  DEPENDS ${SITE}/index.html ${CMAKE_SOURCE_DIR}/dist/zip.py
  COMMENT "Packing kelvorin-web.zip")
add_custom_target(web-zip ALL DEPENDS ${CMAKE_BINARY_DIR}/kelvorin-web.zip)

# The browser tests, run by ctest in this build (script/test runs them).
enable_testing()
include(${CMAKE_SOURCE_DIR}/tests/web/web.cmake)
