# The Linux edition: an SDL2 window with a desktop OpenGL 1.1 context, SDL's keys as Windows
# virtual keys, message boxes and the music through SDL2_mixer; its program is kelvorin.
# Sets LINUX_SOURCES (its backends, for kelvorin_core), LINUX_SOUND_SOURCES (the sound backend
# alone, which the offscreen edition's GLES twin shares) and LINUX_LIBRARIES.
find_package(PkgConfig REQUIRED)
pkg_check_modules(SDL2 REQUIRED IMPORTED_TARGET sdl2)
pkg_check_modules(SDL2_MIXER REQUIRED IMPORTED_TARGET SDL2_mixer)
pkg_check_modules(GLU REQUIRED IMPORTED_TARGET glu)
find_package(OpenGL REQUIRED COMPONENTS OpenGL)

edition_sources(linux LINUX_SOURCES)
set(LINUX_SOUND_SOURCES ${CMAKE_CURRENT_LIST_DIR}/sound_sdl.cpp)
set(LINUX_LIBRARIES PkgConfig::SDL2 PkgConfig::SDL2_MIXER PkgConfig::GLU OpenGL::GL)

add_executable(kelvorin ${CMAKE_CURRENT_LIST_DIR}/main.cpp)
target_link_libraries(kelvorin PRIVATE kelvorin_core)
