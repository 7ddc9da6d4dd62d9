# The art generator for the browser edition's workers: art.js and art.wasm, from the native
# generator's sources but its main and its icon (which needs libpng), with main.cpp here as the
# entry point. Included by src/editions/web/web.cmake under emcmake.
file(GLOB ART_WEB_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tools/art/*.cpp)
list(FILTER ART_WEB_SOURCES EXCLUDE REGEX "/(main|icon)\\.cpp$")
add_executable(art ${ART_WEB_SOURCES} ${CMAKE_CURRENT_LIST_DIR}/main.cpp)
set_target_properties(art PROPERTIES SUFFIX ".js")
target_include_directories(art PRIVATE ${CMAKE_SOURCE_DIR}/tools ${CMAKE_SOURCE_DIR}/src
  /usr/include/stb)
target_link_options(art PRIVATE
  -sMODULARIZE=1 -sEXPORT_NAME=createArt -sENVIRONMENT=worker -sALLOW_MEMORY_GROWTH=1
  -sFORCE_FILESYSTEM=1 -sEXPORTED_RUNTIME_METHODS=FS,UTF8ToString -sDYNAMIC_EXECUTION=0)
