# The GLES builds on Linux: the portable sources compiled against the layer's <GL/gl.h> and
# <GL/glu.h> (src/gles/include, ahead of the system's), the layer itself, the EGL offscreen
# backend with an OpenGL ES 3 context, and SDL2 sound. They draw the same frames headless as
# the desktop programs, for comparing the two paths. Needs SOURCES, PORTABLE_SOURCES,
# GLES_LAYER_SOURCES and CAPTURE_SOURCES from CMakeLists.txt.
pkg_check_modules(GLES REQUIRED IMPORTED_TARGET glesv2)
set(GLES_CORE_SOURCES ${SOURCES})
list(FILTER GLES_CORE_SOURCES INCLUDE REGEX "_egl(_[a-z0-9]+)?\\.cpp$|/sound_sdl\\.cpp$")
list(APPEND GLES_CORE_SOURCES ${PORTABLE_SOURCES} ${GLES_LAYER_SOURCES})
add_library(kelvorin_core_gles STATIC ${GLES_CORE_SOURCES})
target_compile_definitions(kelvorin_core_gles PUBLIC KELVORIN_GLES)
target_include_directories(kelvorin_core_gles BEFORE PUBLIC ${CMAKE_SOURCE_DIR}/src/gles/include)
target_include_directories(kelvorin_core_gles PUBLIC ${CMAKE_SOURCE_DIR}/src)
target_link_libraries(kelvorin_core_gles PUBLIC
  PkgConfig::SDL2 PkgConfig::SDL2_MIXER PkgConfig::PNG PkgConfig::GLES OpenGL::EGL)

add_executable(kelvorin-capture-gles ${CAPTURE_SOURCES})
target_include_directories(kelvorin-capture-gles PRIVATE ${CMAKE_SOURCE_DIR}/tools)
target_compile_definitions(kelvorin-capture-gles PRIVATE
  KELVORIN_DATA_FROM_BIN="${KELVORIN_DATA_FROM_BIN}")
target_link_libraries(kelvorin-capture-gles PRIVATE kelvorin_core_gles Threads::Threads)
add_executable(kelvorin-bench-gles ${CMAKE_SOURCE_DIR}/tools/bench/main.cpp)
target_include_directories(kelvorin-bench-gles PRIVATE ${CMAKE_SOURCE_DIR}/tools)
target_link_libraries(kelvorin-bench-gles PRIVATE kelvorin_core_gles)
