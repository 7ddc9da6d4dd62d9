# The offscreen edition: an EGL pbuffer, no display, no events, boxes as lines on standard
# error. Its programs are in tools/ (kelvorin-capture, kelvorin-bench), and the tests draw with
# it. Sets OFFSCREEN_SOURCES and OFFSCREEN_LIBRARIES for kelvorin_core.
#
# Its GLES twin, kelvorin_core_gles: the portable demo compiled against our layer's <GL/gl.h>
# and <GL/glu.h> (src/gles/include, ahead of the system's), the layer itself, this backend with
# an OpenGL ES 3 context, and the Linux edition's sound. It draws the same frames headless as
# desktop OpenGL, for comparing the two paths (kelvorin-capture-gles, kelvorin-bench-gles).
find_package(OpenGL REQUIRED COMPONENTS EGL)
pkg_check_modules(GLES REQUIRED IMPORTED_TARGET glesv2)

edition_sources(offscreen OFFSCREEN_SOURCES)
set(OFFSCREEN_LIBRARIES OpenGL::EGL)

add_library(kelvorin_core_gles STATIC
  ${PORTABLE_SOURCES} ${GLES_LAYER_SOURCES} ${OFFSCREEN_SOURCES} ${LINUX_SOUND_SOURCES})
target_compile_definitions(kelvorin_core_gles PUBLIC KELVORIN_GLES)
target_include_directories(kelvorin_core_gles BEFORE PUBLIC ${CMAKE_SOURCE_DIR}/src/gles/include)
target_include_directories(kelvorin_core_gles PUBLIC ${CMAKE_SOURCE_DIR}/src)
target_link_libraries(kelvorin_core_gles PUBLIC
  PkgConfig::SDL2 PkgConfig::SDL2_MIXER PkgConfig::GLES OpenGL::EGL)
