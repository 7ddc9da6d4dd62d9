# The offscreen edition: an EGL pbuffer, no display, no events, boxes as lines on standard
# error, and no sound (sound_null.cpp). Its programs are in tools/ (kelvorin-capture,
# kelvorin-bench), and the tests draw with it. kelvorin_offscreen is the portable demo with
# these backends; OFFSCREEN_PLATFORM_SOURCES, the EGL backend alone, lets the Linux edition's
# tests run the demo offscreen with SDL's sound.
#
# Its GLES twin, kelvorin_offscreen_gles: the portable demo compiled against our layer's
# <GL/gl.h> and <GL/glu.h> (src/gles/include, ahead of the system's), the layer itself, and
# these backends with an OpenGL ES 3 context. It draws the same frames headless as desktop
# OpenGL, for comparing the two paths (kelvorin-capture-gles, kelvorin-bench-gles).
find_package(OpenGL REQUIRED COMPONENTS EGL)
pkg_check_modules(GLES REQUIRED IMPORTED_TARGET glesv2)

edition_sources(offscreen OFFSCREEN_SOURCES)
set(OFFSCREEN_PLATFORM_SOURCES ${CMAKE_CURRENT_LIST_DIR}/platform_egl.cpp)
add_library(kelvorin_offscreen STATIC ${OFFSCREEN_SOURCES})
target_link_libraries(kelvorin_offscreen PUBLIC kelvorin_portable OpenGL::EGL)

add_library(kelvorin_offscreen_gles STATIC
  ${PORTABLE_SOURCES} ${GLES_LAYER_SOURCES} ${OFFSCREEN_SOURCES})
target_compile_definitions(kelvorin_offscreen_gles PUBLIC KELVORIN_GLES)
target_include_directories(kelvorin_offscreen_gles BEFORE PUBLIC ${CMAKE_SOURCE_DIR}/src/gles/include)
target_include_directories(kelvorin_offscreen_gles PUBLIC ${CMAKE_SOURCE_DIR}/src)
target_link_libraries(kelvorin_offscreen_gles PUBLIC PkgConfig::GLES OpenGL::EGL)
